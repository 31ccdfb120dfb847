#include "modgraphingroutines.h"

#include "modcameramath.h"
#include "portablemath.h"
#include "sketchcolours.h"

#include <array>
#include <cmath>

namespace modGraphingRoutines {

namespace {

const QColor CrossColor(210, 210, 210);
const QColor ArrowColor(255, 0, 0);
const QColor RightEdgeColor(0, 200, 200);
const QColor LeftEdgeColor(200, 200, 0);

struct Point3
{
    double x, y, z;
};

enum ViewIndex
{
    TopView,
    SideView,
    FrontView
};

// The view's two axes of a world point.
QPointF project(ViewIndex view, const Point3 &p)
{
    switch (view) {
    case TopView:
        return {p.x, p.y};
    case SideView:
        return {p.x, p.z};
    case FrontView:
        break;
    }
    return {p.y, p.z};
}

void drawLine(DrawingSurface &surface, ViewIndex view, const Point3 &a, const Point3 &b,
              const QColor &color)
{
    const QPointF pa = project(view, a), pb = project(view, b);
    surface.line(float(pa.x()), float(pa.y()), float(pb.x()), float(pb.y()), color);
}

} // namespace

double HalfExtentFor(double X, double Y, double Z)
{
    struct Row
    {
        double x, y, z, h;
    };
    static constexpr std::array<Row, 6> rows = {{{1.5, 1.5, 1.5, 1.9},
                                                 {3, 3, 3, 3.75},
                                                 {6, 6, 6, 7.5},
                                                 {12, 12, 12, 15},
                                                 {24, 24, 24, 30},
                                                 {48, 60, 48, 60}}};
    for (const Row &row : rows) {
        if (std::abs(X) < row.x && std::abs(Y) < row.y && std::abs(Z) < row.z)
            return row.h;
    }
    return 120;
}

double PolarX(double base, double angle, double length)
{
    return base + length * PortableMath::cos(angle);
}

double PolarY(double base, double angle, double length)
{
    return base - length * PortableMath::sin(angle);
}

double BankX(double x)
{
    return x;
}
double BankY(double y, double z, double angle)
{
    return PortableMath::cos(angle) * y - PortableMath::sin(angle) * z;
}
double BankZ(double y, double z, double angle)
{
    return PortableMath::sin(angle) * y + PortableMath::cos(angle) * z;
}
double PitchX(double x, double z, double angle)
{
    return PortableMath::cos(angle) * x + PortableMath::sin(angle) * z;
}
double PitchY(double y)
{
    return y;
}
double PitchZ(double x, double z, double angle)
{
    return -PortableMath::sin(angle) * x + PortableMath::cos(angle) * z;
}
double YawX(double x, double y, double angle)
{
    return PortableMath::cos(angle) * x - PortableMath::sin(angle) * y;
}
double YawY(double y, double x, double angle)
{
    return PortableMath::cos(angle) * y + PortableMath::sin(angle) * x;
}
double YawZ(double z)
{
    return z;
}

namespace {
Point3 rotated(double x, double y, double z, double bank, double yaw, double pitch)
{
    const double x1 = BankX(x), y1 = BankY(y, z, bank), z1 = BankZ(y, z, bank);
    const double x2 = PitchX(x1, z1, pitch), y2 = PitchY(y1), z2 = PitchZ(x1, z1, pitch);
    return {YawX(x2, y2, yaw), YawY(y2, x2, yaw), YawZ(z2)};
}
} // namespace

double RotatedX(double x, double y, double z, double bank, double yaw, double pitch)
{
    return rotated(x, y, z, bank, yaw, pitch).x;
}
double RotatedY(double x, double y, double z, double bank, double yaw, double pitch)
{
    return rotated(x, y, z, bank, yaw, pitch).y;
}
double RotatedZ(double x, double y, double z, double bank, double yaw, double pitch)
{
    return rotated(x, y, z, bank, yaw, pitch).z;
}

void PrepareView(DrawingSurface &surface, qint16 cx, qint16 cy, double h)
{
    surface.clear();
    surface.setUserScale(float(-h), float(h), float(h), float(-h));
    surface.setPenStyle(DrawingSurface::PenStyle::DashDot);
    surface.line(float(cx - h), float(cy), float(cx + h), float(cy), CrossColor);
    surface.line(float(cx), float(cy - h), float(cx), float(cy + h), CrossColor);
}

void DrawCarOutlines(DrawingSurface &top, DrawingSurface &side, DrawingSurface &front)
{
    top.setPenWidth(1);

    top.filledRect(-1.0f, -0.6f, -0.9f, 0.6f, std::nullopt);                  // rear axle bar
    top.filledRect(1.4f, 0.6f, 1.6f, -0.6f, SketchColours::FrontAxle);        // front axle bar
    top.outlinedRect(1.15f, 0.85f, 1.85f, 0.6f);                              // left front wheel
    top.outlinedRect(1.15f, -0.6f, 1.85f, -0.85f);                            // right front wheel
    top.filledRect(-1.25f, 0.3f, 2.4f, -0.3f, SketchColours::Body);           // body
    top.filledRect(-1.15f, 0.25f, -0.3f, -0.25f, SketchColours::CentrePanel); // centre panel
    top.filledRect(-1.7f, 0.35f, -0.3f, 0.25f, SketchColours::Strip);         // left strip
    top.filledRect(-1.7f, -0.25f, -0.3f, -0.35f, SketchColours::Strip);       // right strip
    top.filledRect(-0.11f, 0.2f, 0.3f, -0.2f, SketchColours::Cockpit);        // cockpit
    top.circle(-0.1f, 0.0f, 0.13f, SketchColours::Helmet);                    // driver's helmet
    top.outlinedRect(-1.3f, 0.9f, -0.6f, 0.5f);                               // left rear wheel
    top.outlinedRect(-1.3f, -0.5f, -0.6f, -0.9f);                             // right rear wheel

    side.filledRect(-1.25f, 0.3f, 2.4f, 0.0f, SketchColours::Body);   // body
    side.filledRect(-1.7f, 0.3f, -0.3f, 0.25f, SketchColours::Strip); // strip
    side.circle(-0.95f, 0.18f, 0.35f, SketchColours::Wheel);          // rear wheel
    side.circle(1.5f, 0.18f, 0.35f, SketchColours::Wheel);            // front wheel
    side.circle(-0.95f, 0.18f, 0.2f, SketchColours::Hub);             // rear hub
    side.circle(1.5f, 0.18f, 0.2f, SketchColours::Hub);               // front hub
    side.circle(-0.1f, 0.47f, 0.13f, SketchColours::Helmet);          // driver's helmet

    front.outlinedRect(0.6f, 0.5f, 0.85f, -0.16f);                  // left wheel
    front.outlinedRect(-0.85f, 0.5f, -0.6f, -0.16f);                // right wheel
    front.circle(0.0f, 0.47f, 0.13f, SketchColours::Helmet);        // driver's helmet
    front.filledRect(-0.3f, 0.3f, 0.3f, 0.0f, SketchColours::Body); // body
}

void DrawCameraViews(DrawingSurface &top, DrawingSurface &side, DrawingSurface &front, double X,
                     double Y, double Z, float Yaw1, float Pitch1, float Bank, float Zoom)
{
    const double h = HalfExtentFor(X, Y, Z);
    std::array<DrawingSurface *, 3> views = {&top, &side, &front};

    const double yaw = modCameraMath::DegreesToRadians(Yaw1);
    const double pitch = modCameraMath::DegreesToRadians(Pitch1);
    const double bank = modCameraMath::DegreesToRadians(Bank);
    const float halfZoom = Zoom / 2.0f;
    const double a = modCameraMath::DegreesToRadians(halfZoom);

    // Camera-frame points: arrow tip, field edge ends, arrow head corners.
    const Point3 cameraPoints[5] = {
        {h / 1.5, 0, 0},
        {PolarX(0, a, h / 2), PolarY(0, a, h / 2), 0},
        {PolarX(0, -a, h / 2), PolarY(0, -a, h / 2), 0},
        {h / 1.5 - h / 20, h / 20, 0},
        {h / 1.5 - h / 20, -h / 20, 0},
    };

    for (DrawingSurface *view : views)
        view->setPenWidth(1);
    for (DrawingSurface *view : views)
        PrepareView(*view, 0, 0, h);
    for (DrawingSurface *view : views)
        view->setPenStyle(DrawingSurface::PenStyle::Solid);
    for (DrawingSurface *view : views)
        view->setPenWidth(1);

    Point3 world[5];
    for (int i = 0; i < 5; ++i) {
        const Point3 &p = cameraPoints[i];
        world[i] = {RotatedX(p.x, p.y, p.z, bank, yaw, pitch) + X,
                    RotatedY(p.x, p.y, p.z, bank, yaw, pitch) + Y,
                    RotatedZ(p.x, p.y, p.z, bank, yaw, pitch) + Z};
    }
    const Point3 &T = world[0], &R = world[1], &L = world[2], &D = world[3], &E = world[4];
    const Point3 C{X, Y, Z};

    for (DrawingSurface *view : views)
        view->setFillSolid();
    DrawCarOutlines(top, side, front);

    for (int v = 0; v < 3; ++v) {
        const QPointF c = project(ViewIndex(v), C);
        views[v]->circle(float(c.x()), float(c.y()), float(0.02 * h), ArrowColor);
    }
    for (int v = 0; v < 3; ++v) {
        drawLine(*views[v], ViewIndex(v), C, T, ArrowColor);
        drawLine(*views[v], ViewIndex(v), T, E, ArrowColor);
    }
    for (int v = 0; v < 3; ++v) {
        drawLine(*views[v], ViewIndex(v), D, E, ArrowColor);
        drawLine(*views[v], ViewIndex(v), D, T, ArrowColor);
    }
    for (int v = 0; v < 3; ++v) {
        drawLine(*views[v], ViewIndex(v), C, R, RightEdgeColor);
        drawLine(*views[v], ViewIndex(v), C, L, LeftEdgeColor);
    }
}

} // namespace modGraphingRoutines
