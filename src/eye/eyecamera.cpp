#include "eyecamera.h"

#include "modcameramath.h"
#include "modgraphingroutines.h"
#include "portablemath.h"

#include <cmath>

EyeProjection::EyeProjection(const ViewCamera &camera, QSize pixels, QPointF sample)
    : m_position{camera.X, camera.Y, camera.Z},
      m_centre(pixels.width() / 2.0 - sample.x(), pixels.height() / 2.0 - sample.y())
{
    // The angles in radians and the half-zoom as the views form them.
    const double yaw = modCameraMath::DegreesToRadians(camera.Yaw1);
    const double pitch = modCameraMath::DegreesToRadians(camera.Pitch1);
    const double bank = modCameraMath::DegreesToRadians(camera.Bank);
    const double halfZoom = modCameraMath::DegreesToRadians(camera.Zoom / 2.0f);

    using namespace modGraphingRoutines;
    const Vec3 unit[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int i = 0; i < 3; ++i) {
        const Vec3 &u = unit[i];
        m_axes[i] = {RotatedX(u.x, u.y, u.z, bank, yaw, pitch),
                     RotatedY(u.x, u.y, u.z, bank, yaw, pitch),
                     RotatedZ(u.x, u.y, u.z, bank, yaw, pitch)};
    }

    const bool finite = std::isfinite(camera.X) && std::isfinite(camera.Y) &&
                        std::isfinite(camera.Z) && std::isfinite(yaw) && std::isfinite(pitch) &&
                        std::isfinite(bank);
    m_drawable = finite && camera.Zoom > 0 && camera.Zoom < 180 && !pixels.isEmpty();
    if (m_drawable)
        m_focal = (pixels.width() / 2.0) / PortableMath::tan(halfZoom);
}

Vec3 EyeProjection::toCamera(const Vec3 &world) const
{
    return directionToCamera(world - m_position);
}

Vec3 EyeProjection::directionToCamera(const Vec3 &world) const
{
    return {dot(m_axes[0], world), dot(m_axes[1], world), dot(m_axes[2], world)};
}

Vec3 EyeProjection::worldRay(const QPointF &point) const
{
    const Vec3 r = ray(point);
    return r.x * m_axes[0] + r.y * m_axes[1] + r.z * m_axes[2];
}
