#pragma once

// Angle conversions used by the editor and the drawing. The constant is the
// ten-digit 3.141592654, not full-precision pi, and the quotient is formed in
// double before the single-precision argument is multiplied in.
namespace modCameraMath {

inline constexpr double Pi = 3.141592654;

double RadiansToDegrees(float radians);
double DegreesToRadians(float degrees);

} // namespace modCameraMath
