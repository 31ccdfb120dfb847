#include "cameraeyeview.h"

#include "eyecamera.h"
#include "eyepicture.h"
#include "slidervalues.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr int WheelNotch = 120; // angle delta of one notch, in eighths of a degree

} // namespace

CameraEyeView::CameraEyeView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picCameraEye"));
    // Every pixel is painted each time: nothing behind it needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(MinimumEyePictureSide, MinimumEyePictureSide);
    setAccessibleName(QStringLiteral("Camera's eye picture"));
    updateToolTip();
}

QSize CameraEyeView::sizeHint() const
{
    return EyePictureSize;
}

void CameraEyeView::setCamera(const ViewCamera &camera)
{
    m_camera = camera;
    updateToolTip();
    update();
}

QString CameraEyeView::blindReason() const
{
    // The picture's width does not matter: any size opens the same cameras.
    if (EyeProjection(m_camera, EyePictureSize).isDrawable())
        return QString();
    const double zoom = m_camera.Zoom;
    const QString value = std::isfinite(zoom)
                              ? formatPlainDecimal(zoom) + QStringLiteral(" degrees")
                              : QStringLiteral("a value that is not a number, which");
    return QStringLiteral("Zoom Angle: %1 opens no picture; only its background is drawn")
        .arg(value);
}

void CameraEyeView::updateToolTip()
{
    const QString reason = blindReason();
    setToolTip(reason);
    setAccessibleDescription(
        reason.isEmpty() ? QStringLiteral("What the camera sees, from the values the sliders hold. "
                                          "Drag to aim the camera, turn the mouse wheel to zoom.")
                         : reason);
}

void CameraEyeView::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(qRound(width() * ratio), qRound(height() * ratio));
    if (m_picture.size() != pixels)
        m_picture = QImage(pixels, QImage::Format_RGB32);
    if (m_picture.isNull())
        return;
    paintEyeView(m_picture, m_camera);
    m_picture.setDevicePixelRatio(ratio);
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_picture);
}

void CameraEyeView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_dragFrom = event->position();
    m_dragStart = m_camera;
}

void CameraEyeView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    emit aimRequested(aimAfterDrag({m_dragStart.Yaw1, m_dragStart.Pitch1}, m_dragStart.Bank,
                                   m_dragStart.Zoom, QSizeF(size()), m_dragFrom,
                                   event->position()));
}

void CameraEyeView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
}

void CameraEyeView::wheelEvent(QWheelEvent *event)
{
    m_wheelDelta += event->angleDelta().y();
    const int notches = m_wheelDelta / WheelNotch;
    m_wheelDelta -= notches * WheelNotch;
    if (notches != 0) {
        emit zoomRequested(notches);
        // A drag under way goes on from here at the new zoom.
        if (m_dragging) {
            m_dragFrom = event->position();
            m_dragStart = m_camera;
        }
    }
    event->accept();
}
