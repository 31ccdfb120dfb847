#pragma once

#include "eyecamera.h"

#include <QColor>
#include <QRgb>

#include <vector>

// What a camera's eye sees: the views' car sketch made solid, on flat ground under
// the sky. World metres as the views use them: +x to the car's front, +y to its
// left, +z up.
namespace EyeScene {

// The ground lies at the wheels' lowest point, under a grid of lines one metre
// apart from -GridReach to +GridReach metres along both axes.
inline constexpr double GroundHeight = -0.17;
inline constexpr int GridReach = 100;

inline constexpr QColor Sky(170, 200, 228);
inline constexpr QColor Ground(112, 128, 96);
inline constexpr QColor GridLine(144, 160, 128);

// One face of a solid: a flat convex polygon, its normal pointing out of the solid,
// drawn flat in one colour.
struct Face
{
    std::vector<Vec3> corners;
    Vec3 normal;
    QRgb colour;
};

// The car sketch as closed solids, from the views' three drawings: the body with
// the cockpit, centre panel and strips as thin boxes on it, the four wheels as
// cylinders with their hubs, the axle bars and the driver's helmet as a sphere.
// Built once.
const std::vector<Face> &sketchCar();

} // namespace EyeScene
