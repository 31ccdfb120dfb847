#include "eyepicture.h"

#include "camerapicture.h"
#include "eyecamera.h"
#include "eyeraster.h"
#include "eyescene.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The ground's part of the picture: the picture points whose rays go down to the
// ground from a camera above it, or up to it from one below it. Empty for a camera
// at the ground's height, which sees it edge on.
std::vector<QPointF> groundRegion(const EyeProjection &eye, QSize pixels)
{
    const double height = eye.position().z - EyeScene::GroundHeight;
    if (height == 0)
        return {};
    const std::vector<QPointF> picture = {QPointF(0, 0), QPointF(pixels.width(), 0),
                                          QPointF(pixels.width(), pixels.height()),
                                          QPointF(0, pixels.height())};
    return clipPolygon(picture, [&](const QPointF &p) {
        const double down = -eye.worldRay(p).z;
        return height > 0 ? down : -down;
    });
}

// Cuts a line to the rectangle (Liang and Barsky); false when none of it is inside.
bool clipLine(QPointF &a, QPointF &b, const QRectF &rect)
{
    double t0 = 0, t1 = 1;
    const QPointF d = b - a;
    const double p[4] = {-d.x(), d.x(), -d.y(), d.y()};
    const double q[4] = {a.x() - rect.left(), rect.right() - a.x(), a.y() - rect.top(),
                         rect.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    b = a + t1 * d;
    a = a + t0 * d;
    return true;
}

// The ground's grid: lines along both axes, each cut where it passes behind the
// camera and where it leaves the picture (with a pixel to spare).
QList<QLineF> gridLines(const EyeProjection &eye, QSize pixels)
{
    const QRectF picture = QRectF(QPointF(0, 0), QSizeF(pixels)).adjusted(-1, -1, 1, 1);
    const double reach = EyeScene::GridReach, ground = EyeScene::GroundHeight;
    QList<QLineF> lines;
    for (int k = -EyeScene::GridReach; k <= EyeScene::GridReach; ++k) {
        const Vec3 ends[2][2] = {{{double(k), -reach, ground}, {double(k), reach, ground}},
                                 {{-reach, double(k), ground}, {reach, double(k), ground}}};
        for (const auto &end : ends) {
            Vec3 a = eye.toCamera(end[0]), b = eye.toCamera(end[1]);
            const double da = a.x - EyeProjection::NearDistance;
            const double db = b.x - EyeProjection::NearDistance;
            if (da < 0 && db < 0)
                continue;
            if (da < 0)
                a = a + (da / (da - db)) * (b - a);
            else if (db < 0)
                b = b + (db / (db - da)) * (a - b);
            QPointF pa = eye.project(a), pb = eye.project(b);
            if (clipLine(pa, pb, picture))
                lines << QLineF(pa, pb);
        }
    }
    return lines;
}

// The car's faces that turn towards the camera, each filled where it is nearer than
// what is drawn.
void drawCar(DepthRaster &raster, const EyeProjection &eye)
{
    const double f = eye.focalLength();
    const QPointF c = eye.centre();
    std::vector<QPointF> points;
    for (const EyeScene::Face &face : EyeScene::sketchCar()) {
        if (!faceImage(eye, face, &points))
            continue;
        // The face's plane in the camera's frame is normal . p = distance. A picture
        // point's ray (f, cx - x, cy - y) meets it at camera x = f * distance /
        // (normal . ray), whose inverse is linear in x and y.
        const Vec3 normal = eye.directionToCamera(face.normal);
        const double distance = dot(normal, eye.toCamera(face.corners[0]));
        const double k = 1 / (distance * f);
        raster.fill(points, face.colour,
                    {-normal.y * k, -normal.z * k,
                     (normal.x * f + normal.y * c.x() + normal.z * c.y()) * k});
    }
}

// Each pixel's colour is the average of four samples, at these points from its
// centre: a rotated grid, so that edges near the horizontal and near the vertical
// each cross four different sample rows or columns. Binary fractions, exact in any
// arithmetic, so every system draws the same pixels.
constexpr QPointF SamplePoints[] = {
    {-0.125, -0.375}, {0.375, -0.125}, {0.125, 0.375}, {-0.375, 0.125}};

// Pictures of more pixels than this (about two large screens) free their sample
// buffers when drawn.
constexpr qint64 KeptSamplePixels = qint64(4096) * 2160;

// A colour's red, green and blue in ten bits each, so that four add up without
// carrying into each other.
inline quint32 packChannels(QRgb colour)
{
    return (quint32(qRed(colour)) << 20) | (quint32(qGreen(colour)) << 10) | quint32(qBlue(colour));
}

// The average of four packed colours' sums, each channel rounded half up.
inline QRgb averageOfFour(quint32 sums)
{
    const auto channel = [&](int shift) { return (((sums >> shift) & 0x3FF) + 2) >> 2; };
    return 0xFF000000u | (channel(20) << 16) | (channel(10) << 8) | channel(0);
}

// One sample of every pixel: the sky, the ground with its grid and the car as seen
// through the sample point `sample` from each pixel's centre.
void paintSample(QImage &image, std::vector<float> &depth, const ViewCamera &camera, QPointF sample)
{
    image.fill(EyeScene::Sky);
    const EyeProjection eye(camera, image.size(), sample);
    DepthRaster raster(image, depth);
    raster.fill(groundRegion(eye, image.size()), EyeScene::Ground.rgb());
    for (const QLineF &line : gridLines(eye, image.size()))
        raster.line(line.p1(), line.p2(), EyeScene::GridLine.rgb());
    // From below the ground the car is hidden behind it.
    if (eye.position().z >= EyeScene::GroundHeight)
        drawCar(raster, eye);
}

} // namespace

bool faceImage(const EyeProjection &eye, const EyeScene::Face &face, std::vector<QPointF> *points)
{
    points->clear();
    if (dot(face.normal, eye.position() - face.corners[0]) <= 0)
        return false;
    std::vector<Vec3> corners;
    for (const Vec3 &corner : face.corners)
        corners.push_back(eye.toCamera(corner));
    corners = clipPolygon(corners, [](const Vec3 &p) { return p.x - EyeProjection::NearDistance; });
    for (const Vec3 &corner : corners)
        points->push_back(eye.project(corner));
    return points->size() >= 3;
}

bool isEyePictureSize(QSize size)
{
    const auto inRange = [](int side) {
        return side >= MinimumEyePictureSide && side <= MaximumEyePictureSide;
    };
    return inRange(size.width()) && inRange(size.height());
}

bool isEyePictureArea(QSize size, double scale)
{
    const QSize pixels = size * scale;
    return qint64(pixels.width()) * pixels.height() <= MaximumEyePixels;
}

void paintEyeView(QImage &image, const ViewCamera &camera)
{
    if (!EyeProjection(camera, image.size()).isDrawable()) {
        image.fill(EyeScene::Sky);
        return;
    }
    // The samples are drawn one after another into one picture of their own, with
    // one depth buffer, both kept for the next picture of the same size. The image
    // itself holds the sums of each pixel's samples until they are averaged.
    thread_local QImage sample;
    thread_local std::vector<float> depth;
    if (sample.size() != image.size())
        sample = QImage(image.size(), QImage::Format_RGB32);
    const int width = image.width(), height = image.height();
    constexpr std::size_t Last = std::size(SamplePoints) - 1;
    for (std::size_t k = 0; k <= Last; ++k) {
        paintSample(sample, depth, camera, SamplePoints[k]);
        for (int j = 0; j < height; ++j) {
            const auto *__restrict from = reinterpret_cast<const QRgb *>(sample.constScanLine(j));
            auto *__restrict sums = reinterpret_cast<quint32 *>(image.scanLine(j));
            if (k == 0) {
                for (int i = 0; i < width; ++i)
                    sums[i] = packChannels(from[i]);
            } else if (k < Last) {
                for (int i = 0; i < width; ++i)
                    sums[i] += packChannels(from[i]);
            } else {
                for (int i = 0; i < width; ++i)
                    sums[i] = averageOfFour(sums[i] + packChannels(from[i]));
            }
        }
    }
    // A picture far beyond a window's size does not keep its buffers.
    if (qint64(width) * height > KeptSamplePixels) {
        sample = QImage();
        std::vector<float>().swap(depth);
    }
}

QImage renderEyeView(const ViewCamera &camera, QSize size, double scale)
{
    if (!isEyePictureSize(size) || !isPictureScale(scale) || !isEyePictureArea(size, scale))
        return {};
    QImage image(size * scale, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    paintEyeView(image, camera);
    image.setDevicePixelRatio(scale);
    return image;
}

QSize eyeSheetSize(QSize picture)
{
    return {2 * picture.width() + EyeSheetGap, 3 * (SheetHeadingHeight + picture.height())};
}

QImage renderEyeSheet(const CameraSet &cameras, QSize size, double scale)
{
    if (!isEyePictureSize(size) || !isPictureScale(scale) ||
        !isEyePictureArea(eyeSheetSize(size), scale) ||
        !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {};
    const auto origin = [&](int k) {
        return QPoint((k % 2) * (size.width() + EyeSheetGap),
                      (k / 2) * (SheetHeadingHeight + size.height()));
    };
    // Each picture is drawn straight into the sheet's pixels, at the size in pixels of
    // the camera's picture alone; at a scale that rounds, a picture's corner and size
    // may reach a pixel beyond the sheet's own size at that scale, so the sheet grows
    // to hold every picture whole.
    const QSize pixels = size * scale;
    const auto corner = [&](int k) {
        return (QPointF(origin(k) + QPoint(0, SheetHeadingHeight)) * scale).toPoint();
    };
    QSize sheetPixels = eyeSheetSize(size) * scale;
    for (int k = 0; k < CameraCount; ++k)
        sheetPixels = sheetPixels.expandedTo(QSize(corner(k).x(), corner(k).y()) + pixels);
    QImage sheet(sheetPixels, QImage::Format_RGB32);
    if (sheet.isNull())
        return {};
    sheet.setDevicePixelRatio(scale);
    sheet.fill(ViewColours::WindowBackground);
    {
        QPainter painter(&sheet);
        for (int k = 0; k < CameraCount; ++k)
            paintSheetCaption(painter, QRect(origin(k), QSize(size.width(), SheetHeadingHeight)),
                              k);
    }
    for (int k = 0; k < CameraCount; ++k) {
        const QPoint at = corner(k);
        QImage picture(sheet.bits() + at.y() * sheet.bytesPerLine() + at.x() * 4, pixels.width(),
                       pixels.height(), sheet.bytesPerLine(), QImage::Format_RGB32);
        paintEyeView(picture, viewCameraForRecord(cameras[k]));
    }
    return sheet;
}
