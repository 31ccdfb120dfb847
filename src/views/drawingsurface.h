#pragma once

#include <QColor>
#include <QPointF>
#include <QSize>

#include <optional>

class QPainter;

// The drawing operations a view offers, in user coordinates.
class DrawingSurface
{
public:
    enum class PenStyle
    {
        Solid,
        DashDot
    };

    virtual ~DrawingSurface() = default;

    // User coordinates by the values at the top-left and bottom-right corners.
    virtual void setUserScale(float left, float top, float right, float bottom) = 0;
    virtual void clear() = 0;
    virtual void setPenWidth(int pixels) = 0;
    virtual void setPenStyle(PenStyle style) = 0;
    virtual void setFillSolid() = 0;
    virtual void line(float x1, float y1, float x2, float y2, const QColor &color) = 0;
    // Painted entirely in `color`, or in the foreground colour when none is given.
    virtual void filledRect(float x1, float y1, float x2, float y2,
                            const std::optional<QColor> &color) = 0;
    // Border in the foreground colour, interior in the fill colour.
    virtual void outlinedRect(float x1, float y1, float x2, float y2) = 0;
    // Border in `border`, interior in the fill colour.
    virtual void circle(float cx, float cy, float radius, const QColor &border) = 0;
};

// Draws nothing: stands in for the views a widget does not show.
class NullSurface : public DrawingSurface
{
public:
    void setUserScale(float, float, float, float) override {}
    void clear() override {}
    void setPenWidth(int) override {}
    void setPenStyle(PenStyle) override {}
    void setFillSolid() override {}
    void line(float, float, float, float, const QColor &) override {}
    void filledRect(float, float, float, float, const std::optional<QColor> &) override {}
    void outlinedRect(float, float, float, float) override {}
    void circle(float, float, float, const QColor &) override {}
};

// Draws with a QPainter onto a target of the given pixel size. The user square
// fills the whole target whatever its proportions; a circle's radius is measured
// along the horizontal axis, so circles stay round.
class PainterSurface : public DrawingSurface
{
public:
    PainterSurface(QPainter &painter, QSize size, const QColor &background,
                   const QColor &foreground, const QColor &fill = Qt::black);

    void setUserScale(float left, float top, float right, float bottom) override;
    void clear() override;
    void setPenWidth(int pixels) override;
    void setPenStyle(PenStyle style) override;
    void setFillSolid() override;
    void line(float x1, float y1, float x2, float y2, const QColor &color) override;
    void filledRect(float x1, float y1, float x2, float y2,
                    const std::optional<QColor> &color) override;
    void outlinedRect(float x1, float y1, float x2, float y2) override;
    void circle(float cx, float cy, float radius, const QColor &border) override;

private:
    QPointF toPixels(double x, double y) const;
    void applyPen(const QColor &color);

    QPainter &m_painter;
    QSize m_size;
    QColor m_background;
    QColor m_foreground;
    QColor m_fill;
    int m_penWidth = 1;
    PenStyle m_penStyle = PenStyle::Solid;
    bool m_fillSolid = false;
    double m_left = 0, m_top = 0, m_scaleX = 1, m_scaleY = 1;
};
