#include "picturebox.h"

#include "modgraphingroutines.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

PictureBox::PictureBox(View view, const QColor &background, QWidget *parent)
    : QWidget(parent), m_view(view), m_background(background)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
}

void PictureBox::showCamera(const ViewCamera &camera)
{
    m_camera = camera;
    update();
}

QPointF PictureBox::toUser(const QPointF &pixel) const
{
    const double h =
        m_camera ? modGraphingRoutines::HalfExtentFor(m_camera->X, m_camera->Y, m_camera->Z) : 0;
    const double w = std::max(1, width());
    const double ht = std::max(1, height());
    // The user square spans the whole widget and a pixel is read at its centre:
    // x = -h + (px + 0.5) * 2h / w, written so that the middle pixel of an odd
    // width or height is exactly 0. A press reports single-precision coordinates.
    const double px = std::floor(pixel.x());
    const double py = std::floor(pixel.y());
    const float x = float(h * (2 * px + 1 - w) / w);
    const float y = float(h * (ht - 2 * py - 1) / ht);
    return {double(x), double(y)};
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_camera) {
        painter.fillRect(rect(), m_background);
        return;
    }
    paintView(painter, size(), m_view, m_background, palette().color(QPalette::WindowText),
              *m_camera);
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (!m_camera)
        return;
    // Both coordinates are read before anything moves the camera.
    const QPointF user = toUser(event->position());
    emit pressed(user.x(), user.y());
}
