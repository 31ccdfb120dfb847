#include "viewcamera.h"

#include "drawingsurface.h"
#include "modgraphingroutines.h"

ViewCamera viewCameraForPositions(const std::array<int, SliderCount> &positions)
{
    const auto at = [&positions](int i) { return sliderValue(i, positions[i]); };
    ViewCamera camera;
    camera.X = at(0);
    camera.Y = at(1);
    camera.Z = at(2);
    camera.Yaw1 = float(at(3));
    camera.Pitch1 = float(at(4));
    camera.Bank = float(at(5));
    camera.Zoom = float(at(6));
    return camera;
}

ViewCamera viewCameraForRecord(const CameraRecord &stored)
{
    std::array<int, SliderCount> positions{};
    for (int i = 0; i < SliderCount; ++i)
        positions[i] = positionForField(i, stored.field(i));
    return viewCameraForPositions(positions);
}

void paintView(QPainter &painter, QSize size, ViewKind view, const QColor &background,
               const QColor &foreground, const ViewCamera &camera)
{
    PainterSurface surface(painter, size, background, foreground);
    NullSurface none;
    const auto shown = [&](ViewKind kind) -> DrawingSurface & {
        return kind == view ? static_cast<DrawingSurface &>(surface) : none;
    };
    modGraphingRoutines::DrawCameraViews(shown(ViewKind::Top), shown(ViewKind::Side),
                                         shown(ViewKind::Front), camera.X, camera.Y, camera.Z,
                                         camera.Yaw1, camera.Pitch1, camera.Bank, camera.Zoom);
}
