#pragma once

#include "viewcamera.h"

#include <QPointF>
#include <QSize>

// A point or a direction in metres.
struct Vec3
{
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(const Vec3 &a, const Vec3 &b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(const Vec3 &a, const Vec3 &b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(double s, const Vec3 &a)
{
    return {s * a.x, s * a.y, s * a.z};
}
inline double dot(const Vec3 &a, const Vec3 &b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The projection of what a camera sees onto a picture: a pinhole at the camera's
// position looking along its own +x, with its +y to the left and +z up, turned by
// the views' rotation (bank, then pitch, then yaw). The picture's centre is the
// viewing direction, its right the camera's right and its top the camera's up;
// Zoom is the full horizontal opening angle, and the vertical one follows from the
// picture's shape. Picture coordinates are pixels from the top-left corner: pixel
// (i, j) covers i to i + 1 across and j to j + 1 down.
class EyeProjection
{
public:
    // Points nearer ahead of the camera than this, in metres, are not drawn: lines
    // and faces are cut where they cross the plane at this distance.
    static constexpr double NearDistance = 0.01;

    // `sample` moves the picture under the pixels: the projection for the sample
    // points at (i + 0.5 + sample.x, j + 0.5 + sample.y) instead of the pixels' centres,
    // seen from a raster that samples the centres.
    EyeProjection(const ViewCamera &camera, QSize pixels, QPointF sample = QPointF());

    // Whether the camera opens a picture: every value finite, and a Zoom more than 0
    // and less than 180 degrees.
    bool isDrawable() const { return m_drawable; }

    Vec3 position() const { return m_position; }
    // The focal length in pixels: half the width over tan(Zoom / 2).
    double focalLength() const { return m_focal; }
    QPointF centre() const { return m_centre; }

    // A world point in the camera's frame (x ahead, y to its left, z up).
    Vec3 toCamera(const Vec3 &world) const;
    // A world direction in the camera's frame.
    Vec3 directionToCamera(const Vec3 &world) const;
    // The picture point of a camera-frame point ahead of the camera (x > 0).
    QPointF project(const Vec3 &camera) const
    {
        return {m_centre.x() - m_focal * camera.y / camera.x,
                m_centre.y() - m_focal * camera.z / camera.x};
    }
    // The camera-frame direction through a picture point.
    Vec3 ray(const QPointF &point) const
    {
        return {m_focal, m_centre.x() - point.x(), m_centre.y() - point.y()};
    }
    // The world direction through a picture point.
    Vec3 worldRay(const QPointF &point) const;

private:
    Vec3 m_position;
    Vec3 m_axes[3]; // the camera's own x, y and z axes in the world
    double m_focal = 1;
    QPointF m_centre;
    bool m_drawable = false;
};
