#pragma once

#include "camerarecord.h"
#include "slidervalues.h"

#include <QColor>
#include <QSize>

#include <array>

class QPainter;

// What the three views show: the camera position in metres and its view angles
// in degrees, as the editor's sliders hold them.
struct ViewCamera
{
    double X = 0;
    double Y = 0;
    double Z = 0;
    float Yaw1 = 0;
    float Pitch1 = 0;
    float Bank = 0;
    float Zoom = 0;
};

// The camera the views draw for the nine slider positions: X, Y and Z are the
// positions / 250 as doubles, the angles / 100 in single precision; Yaw2 and Pitch2
// are not drawn.
ViewCamera viewCameraForPositions(const std::array<int, SliderCount> &positions);

// The camera the views draw once a stored record is selected in the editor: its
// values rounded to slider positions (a value no slider holds at the nearest end of
// the range), then read back as the sliders show them.
ViewCamera viewCameraForRecord(const CameraRecord &stored);

enum class ViewKind
{
    Top,
    Side,
    Front
};

// Paints one view of `camera` over the rectangle (0, 0, size) of the painter's
// coordinates: its background, the cross, the car sketch and the camera.
void paintView(QPainter &painter, QSize size, ViewKind view, const QColor &background,
               const QColor &foreground, const ViewCamera &camera);
