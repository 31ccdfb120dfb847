#pragma once

#include "viewcamera.h"

#include <QColor>
#include <QWidget>

#include <optional>

// One of the three picture areas (top, side or front view). It paints the car
// sketch and the camera from the latest camera it was given, and reports a mouse
// press in the view's user coordinates (world metres on the view's two axes).
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    using View = ViewKind;

    PictureBox(View view, const QColor &background, QWidget *parent = nullptr);

    // Records the camera to draw and asks for a repaint. Presses are read in the
    // new camera's half-extent at once, before the repaint happens.
    void showCamera(const ViewCamera &camera);

    // The camera last given, if any: until the first one the view shows only its background.
    std::optional<ViewCamera> camera() const { return m_camera; }

    // Widget pixel -> user coordinates for the current half-extent: the centre of
    // the pixel, in single precision as a press reports it.
    QPointF toUser(const QPointF &pixel) const;

signals:
    // A press of any mouse button, with any modifiers, in a view that has been drawn.
    void pressed(double x, double y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    View m_view;
    QColor m_background;
    std::optional<ViewCamera> m_camera;
};
