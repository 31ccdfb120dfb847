#include "modcameramath.h"

namespace modCameraMath {

double RadiansToDegrees(float radians)
{
    const double factor = 180.0 / Pi;
    return factor * static_cast<double>(radians);
}

double DegreesToRadians(float degrees)
{
    const double factor = Pi / 180.0;
    return factor * static_cast<double>(degrees);
}

} // namespace modCameraMath
