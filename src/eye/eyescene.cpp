#include "eyescene.h"

#include "portablemath.h"
#include "sketchcolours.h"
#include "viewplaces.h"

#include <cmath>
#include <numbers>

namespace EyeScene {

namespace {

// Round parts are polygons of this many sides; the helmet has this many rings.
constexpr int RoundSides = 24;
constexpr int HelmetRings = 12;

// The normal of a flat polygon (Newell's method), of unit length.
Vec3 normalOf(const std::vector<Vec3> &corners)
{
    Vec3 n;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Vec3 &a = corners[i], &b = corners[(i + 1) % corners.size()];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return (1 / std::sqrt(dot(n, n))) * n;
}

// Adds a convex solid's faces, each normal turned away from the solid's centre.
void addSolid(std::vector<Face> &faces, const std::vector<std::vector<Vec3>> &polygons,
              const Vec3 &centre, const QColor &colour)
{
    for (const std::vector<Vec3> &corners : polygons) {
        Vec3 normal = normalOf(corners);
        if (dot(normal, corners[0] - centre) < 0)
            normal = -1.0 * normal;
        faces.push_back({corners, normal, colour.rgb()});
    }
}

void addBox(std::vector<Face> &faces, Vec3 low, Vec3 high, const QColor &colour)
{
    const auto at = [&](int i) {
        return Vec3{i & 1 ? high.x : low.x, i & 2 ? high.y : low.y, i & 4 ? high.z : low.z};
    };
    // Corners by bits: 1 high x, 2 high y, 4 high z; each face goes round its edge.
    const int sides[6][4] = {{0, 2, 6, 4}, {1, 3, 7, 5}, {0, 1, 5, 4},
                             {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}};
    std::vector<std::vector<Vec3>> polygons;
    for (const auto &side : sides)
        polygons.push_back({at(side[0]), at(side[1]), at(side[2]), at(side[3])});
    addSolid(faces, polygons, 0.5 * (low + high), colour);
}

// A cylinder whose axis runs across the car (along y) through (x, z), from y0 to y1.
void addAxleCylinder(std::vector<Face> &faces, double x, double z, double radius, double y0,
                     double y1, const QColor &colour)
{
    std::vector<Vec3> ring0, ring1;
    for (int k = 0; k < RoundSides; ++k) {
        const double a = 2 * std::numbers::pi * k / RoundSides;
        ring0.push_back({x + radius * PortableMath::cos(a), y0, z + radius * PortableMath::sin(a)});
        ring1.push_back({x + radius * PortableMath::cos(a), y1, z + radius * PortableMath::sin(a)});
    }
    std::vector<std::vector<Vec3>> polygons = {ring0, ring1};
    for (int k = 0; k < RoundSides; ++k) {
        const int next = (k + 1) % RoundSides;
        polygons.push_back({ring0[k], ring0[next], ring1[next], ring1[k]});
    }
    addSolid(faces, polygons, {x, (y0 + y1) / 2, z}, colour);
}

void addSphere(std::vector<Face> &faces, const Vec3 &centre, double radius, const QColor &colour)
{
    const auto at = [&](int ring, int side) {
        const double up = std::numbers::pi * (double(ring) / HelmetRings - 0.5);
        const double round = 2 * std::numbers::pi * side / RoundSides;
        return centre + radius * Vec3{PortableMath::cos(up) * PortableMath::cos(round),
                                      PortableMath::cos(up) * PortableMath::sin(round),
                                      PortableMath::sin(up)};
    };
    std::vector<std::vector<Vec3>> polygons;
    for (int ring = 0; ring < HelmetRings; ++ring) {
        for (int side = 0; side < RoundSides; ++side) {
            // The rings at the poles are single points: their faces are triangles.
            std::vector<Vec3> corners = {at(ring, side)};
            if (ring > 0)
                corners.push_back(at(ring, side + 1));
            corners.push_back(at(ring + 1, side + 1));
            if (ring + 1 < HelmetRings)
                corners.push_back(at(ring + 1, side));
            polygons.push_back(corners);
        }
    }
    addSolid(faces, polygons, centre, colour);
}

// A wheel: its tyre from the side view's circle and the top view's width, its hub
// a little wider so that it shows on both sides.
void addWheel(std::vector<Face> &faces, double x, double y0, double y1)
{
    constexpr double CentreHeight = 0.18, Radius = 0.35, HubRadius = 0.2, HubProud = 0.01;
    addAxleCylinder(faces, x, CentreHeight, Radius, y0, y1, SketchColours::Wheel);
    addAxleCylinder(faces, x, CentreHeight, HubRadius, y0 - HubProud, y1 + HubProud,
                    SketchColours::Hub);
}

std::vector<Face> buildSketchCar()
{
    std::vector<Face> faces;
    // Thin parts stand a few millimetres proud of the body's top, which the top
    // view draws them over.
    constexpr double Top = 0.3, Proud = 0.005, Thin = 0.01;
    addBox(faces, {-1.25, -0.3, 0}, {2.4, 0.3, Top}, SketchColours::Body);
    addBox(faces, {-0.11, -0.2, Top}, {0.3, 0.2, Top + Thin}, SketchColours::Cockpit);
    addBox(faces, {-1.15, -0.25, Top}, {-0.3, 0.25, Top + Thin}, SketchColours::CentrePanel);
    // The strips as the top view spans them, and as high as the side view draws them.
    addBox(faces, {-1.7, 0.25, 0.25}, {-0.3, 0.35, Top + Proud}, SketchColours::Strip);
    addBox(faces, {-1.7, -0.35, 0.25}, {-0.3, -0.25, Top + Proud}, SketchColours::Strip);
    // The axle bars at the wheels' centre height, as deep as the top view draws them wide.
    addBox(faces, {-1.0, -0.6, 0.13}, {-0.9, 0.6, 0.23}, ViewColours::WindowText);
    addBox(faces, {1.4, -0.6, 0.08}, {1.6, 0.6, 0.28}, SketchColours::FrontAxle);
    addWheel(faces, 1.5, 0.6, 0.85);    // left front
    addWheel(faces, 1.5, -0.85, -0.6);  // right front
    addWheel(faces, -0.95, 0.5, 0.9);   // left rear
    addWheel(faces, -0.95, -0.9, -0.5); // right rear
    addSphere(faces, {-0.1, 0, 0.47}, 0.13, SketchColours::Helmet);
    return faces;
}

} // namespace

const std::vector<Face> &sketchCar()
{
    static const std::vector<Face> faces = buildSketchCar();
    return faces;
}

} // namespace EyeScene
