#pragma once

#include "drawingsurface.h"

// Drawing of the fixed car sketch and the camera in the top, side and front
// views. World frame in metres: +X to the car's front, +Y to its left, +Z up. The
// top view shows (x, y), the side view (x, z), the front view (y, z).
namespace modGraphingRoutines {

// The half-extent of every view, in metres, for a camera at (X, Y, Z): the first
// row of the table whose strict bounds hold for all three coordinates.
double HalfExtentFor(double X, double Y, double Z);

// Draws all three views. Positions in metres, angles in degrees.
void DrawCameraViews(DrawingSurface &top, DrawingSurface &side, DrawingSurface &front, double X,
                     double Y, double Z, float Yaw1, float Pitch1, float Bank, float Zoom);

// Clears a view, sets its user square of half-width h (y up) and draws the grey
// cross through (cx, cy).
void PrepareView(DrawingSurface &surface, qint16 cx, qint16 cy, double h);

void DrawCarOutlines(DrawingSurface &top, DrawingSurface &side, DrawingSurface &front);

double PolarX(double base, double angle, double length);
double PolarY(double base, double angle, double length);

double BankX(double x);
double BankY(double y, double z, double angle);
double BankZ(double y, double z, double angle);
double PitchX(double x, double z, double angle);
double PitchY(double y);
double PitchZ(double x, double z, double angle);
double YawX(double x, double y, double angle);
double YawY(double y, double x, double angle);
double YawZ(double z);

// A camera-frame point after bank, then pitch, then yaw (radians).
double RotatedX(double x, double y, double z, double bank, double yaw, double pitch);
double RotatedY(double x, double y, double z, double bank, double yaw, double pitch);
double RotatedZ(double x, double y, double z, double bank, double yaw, double pitch);

} // namespace modGraphingRoutines
