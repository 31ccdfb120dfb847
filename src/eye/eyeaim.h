#pragma once

#include <QPointF>
#include <QSizeF>

// Aiming a camera from its own picture: how far a drag in the picture turns it and
// how far a turn of the mouse wheel zooms it. Angles in degrees as the sliders show
// them; picture points in pixels from the top-left corner, y down.

// The focal length of a picture `width` pixels wide at `zoom` degrees: the distance,
// in pixels, at which the picture's width spans the zoom angle, (width / 2) /
// tan(zoom / 2). Zero for a zoom that opens no picture (0, 180 or more, not finite).
double eyeFocalLength(double width, double zoom);

struct EyeAim
{
    double yaw = 0;
    double pitch = 0;
};

// Where a camera aims once a drag that began at `from` (with the camera aimed at
// `start`, banked by `bank`, at `zoom`) has reached `to`, in a picture of `size`: the
// scene follows the pointer. At bank 0 the yaw grows by atan(x / f) and the pitch
// falls by atan(y / f) from the picture point's offsets x and y from the centre at
// `from` to those at `to` (f: eyeFocalLength); at any other bank the offsets are
// first turned back by the bank, so that a drag along the picture's edge turns the
// camera about its own axes. `start` for a zoom that opens no picture.
EyeAim aimAfterDrag(const EyeAim &start, double bank, double zoom, QSizeF size, QPointF from,
                    QPointF to);

// The zoom after `notches` turns of the wheel (positive forward): each notch forward
// divides tan(zoom / 2) by 1.1, each one back multiplies it by 1.1; never 180 or more.
// `zoom` itself for a zoom that opens no picture.
double zoomAfterNotches(double zoom, int notches);

// The Zoom slider's position (hundredths of a degree) after `notches` wheel notches
// from `position`: the nearest position to the new zoom (halves to even), and at
// least one position in the wheel's direction, within minimum to maximum.
int zoomPositionAfterNotches(int position, int notches, int minimum, int maximum);
