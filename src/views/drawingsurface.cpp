#include "drawingsurface.h"

#include <QPainter>

#include <cmath>

PainterSurface::PainterSurface(QPainter &painter, QSize size, const QColor &background,
                               const QColor &foreground, const QColor &fill)
    : m_painter(painter), m_size(size), m_background(background), m_foreground(foreground),
      m_fill(fill)
{
    setUserScale(0, 0, float(size.width()), float(size.height()));
}

void PainterSurface::setUserScale(float left, float top, float right, float bottom)
{
    m_left = left;
    m_top = top;
    m_scaleX = m_size.width() / (double(right) - left);
    m_scaleY = m_size.height() / (double(bottom) - top);
}

QPointF PainterSurface::toPixels(double x, double y) const
{
    return QPointF((x - m_left) * m_scaleX, (y - m_top) * m_scaleY);
}

void PainterSurface::clear()
{
    m_painter.fillRect(QRect(QPoint(0, 0), m_size), m_background);
}

void PainterSurface::setPenWidth(int pixels)
{
    m_penWidth = pixels;
}

void PainterSurface::setPenStyle(PenStyle style)
{
    m_penStyle = style;
}

void PainterSurface::setFillSolid()
{
    m_fillSolid = true;
}

void PainterSurface::applyPen(const QColor &color)
{
    QPen pen(color, m_penWidth <= 1 ? 0 : m_penWidth,
             m_penStyle == PenStyle::DashDot ? Qt::DashDotLine : Qt::SolidLine);
    m_painter.setPen(pen);
}

void PainterSurface::line(float x1, float y1, float x2, float y2, const QColor &color)
{
    applyPen(color);
    m_painter.drawLine(toPixels(x1, y1), toPixels(x2, y2));
}

void PainterSurface::filledRect(float x1, float y1, float x2, float y2,
                                const std::optional<QColor> &color)
{
    const QRectF rect = QRectF(toPixels(x1, y1), toPixels(x2, y2)).normalized();
    m_painter.fillRect(rect, color.value_or(m_foreground));
}

void PainterSurface::outlinedRect(float x1, float y1, float x2, float y2)
{
    const QRectF rect = QRectF(toPixels(x1, y1), toPixels(x2, y2)).normalized();
    applyPen(m_foreground);
    m_painter.setBrush(m_fillSolid ? QBrush(m_fill) : QBrush());
    m_painter.drawRect(rect);
    m_painter.setBrush(QBrush());
}

void PainterSurface::circle(float cx, float cy, float radius, const QColor &border)
{
    const double r = std::abs(radius * m_scaleX);
    applyPen(border);
    m_painter.setBrush(m_fillSolid ? QBrush(m_fill) : QBrush());
    m_painter.drawEllipse(toPixels(cx, cy), r, r);
    m_painter.setBrush(QBrush());
}
