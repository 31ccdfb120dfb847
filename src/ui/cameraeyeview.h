#pragma once

#include "eyeaim.h"
#include "viewcamera.h"

#include <QImage>
#include <QWidget>

// The picture of the camera's eye window: what the camera sees, filling the widget,
// drawn at the device's pixels (at a device pixel ratio of 1 the picture kestrel-cam
// render --eye draws at the widget's size). A new camera only asks for a repaint, so
// that any number of changes between two frames cost one picture. A left-button drag
// asks to aim the camera so that the scene follows the pointer; the wheel asks to
// zoom by whole notches, partial turns of a fine wheel adding up.
class CameraEyeView : public QWidget
{
    Q_OBJECT

public:
    explicit CameraEyeView(QWidget *parent = nullptr);

    void setCamera(const ViewCamera &camera);
    const ViewCamera &camera() const { return m_camera; }
    // Why the camera opens no picture, or empty when it does.
    QString blindReason() const;

    QSize sizeHint() const override;

signals:
    // Where a drag asks the camera to aim.
    void aimRequested(const EyeAim &aim);
    // Whole notches of the wheel, positive forward.
    void zoomRequested(int notches);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void updateToolTip();

    ViewCamera m_camera;
    QImage m_picture; // kept between frames: only a new size makes a new image
    // The drag under way: where it began and where the camera then aimed.
    bool m_dragging = false;
    QPointF m_dragFrom;
    ViewCamera m_dragStart;
    int m_wheelDelta = 0; // eighths of a degree not yet a whole notch
};
