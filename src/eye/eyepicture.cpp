#include "eyepicture.h"

#include "camerapicture.h"
#include "eyecamera.h"
#include "eyeraster.h"
#include "eyescene.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace {

// The ground's part of the picture: the picture points whose rays go down to the
// ground from a camera above it, or up to it from one below it. Empty for a camera
// at the ground's height, which sees it edge on.
std::vector<QPointF> groundCorners(const EyeProjection &eye, QSize pixels)
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

// A face of the car that turns towards the camera, in the camera's frame: its
// corners cut at the plane before the camera, and its plane, normal . p = distance.
// The same for every sample point of a pixel.
struct CameraFace
{
    std::vector<Vec3> corners;
    Vec3 normal;
    double distance;
    QRgb colour;
};

// The face's corners in the camera's frame, cut at the plane before it; false when it
// turns away from the camera or lies wholly behind that plane.
bool cameraCorners(const EyeProjection &eye, const EyeScene::Face &face, std::vector<Vec3> *corners)
{
    corners->clear();
    if (dot(face.normal, eye.position() - face.corners[0]) <= 0)
        return false;
    for (const Vec3 &corner : face.corners)
        corners->push_back(eye.toCamera(corner));
    *corners =
        clipPolygon(*corners, [](const Vec3 &p) { return p.x - EyeProjection::NearDistance; });
    return corners->size() >= 3;
}

// The car's faces the camera sees, in the sketch's order; none from below the ground,
// where the car is hidden behind it.
std::vector<CameraFace> facesInView(const EyeProjection &eye)
{
    std::vector<CameraFace> faces;
    if (eye.position().z < EyeScene::GroundHeight)
        return faces;
    std::vector<Vec3> corners;
    for (const EyeScene::Face &face : EyeScene::sketchCar()) {
        if (!cameraCorners(eye, face, &corners))
            continue;
        const Vec3 normal = eye.directionToCamera(face.normal);
        faces.push_back({corners, normal, dot(normal, eye.toCamera(face.corners[0])), face.colour});
    }
    return faces;
}

// Each pixel's colour is the average of four samples, at these points from its
// centre: a rotated grid, so that edges near the horizontal and near the vertical
// each cross four different sample rows or columns. Binary fractions, exact in any
// arithmetic, so every system draws the same pixels.
constexpr QPointF SamplePoints[] = {
    {-0.125, -0.375}, {0.375, -0.125}, {0.125, 0.375}, {-0.375, 0.125}};
constexpr int SampleCount = int(std::size(SamplePoints));
static_assert(SampleCount == 4, "averaged by averageOfFour");

// What one sample of every pixel shows, made ready to be drawn a strip at a time:
// the sky, the ground with its grid and the car as seen through the sample point
// from each pixel's centre.
struct SampleScene
{
    RasterPolygon ground;
    // The grid's lines in one colour, so in any order: by the row they start on, those
    // before `nextLine` started, of which those in `drawing` not yet done.
    std::vector<RasterLine> grid;
    std::size_t nextLine = 0;
    std::vector<std::size_t> drawing;
    std::vector<RasterPolygon> car; // in the sketch's order, the first drawn first

    SampleScene(const ViewCamera &camera, QSize pixels, QPointF sample,
                const std::vector<CameraFace> &faces)
        : SampleScene(EyeProjection(camera, pixels, sample), pixels, faces)
    {
    }
    SampleScene(const EyeProjection &eye, QSize pixels, const std::vector<CameraFace> &faces)
        : ground(groundCorners(eye, pixels), EyeScene::Ground.rgb(), pixels.height())
    {
        for (const QLineF &line : gridLines(eye, pixels)) {
            const RasterLine raster(line.p1(), line.p2());
            if (!raster.isDone())
                grid.push_back(raster);
        }
        std::sort(grid.begin(), grid.end(), [](const RasterLine &a, const RasterLine &b) {
            return a.nextRow() < b.nextRow();
        });
        drawing.reserve(grid.size());
        addCar(eye, pixels.height(), faces);
    }

    // The car's faces that turn towards the camera, each filled where it is nearer
    // than what is drawn.
    void addCar(const EyeProjection &eye, int height, const std::vector<CameraFace> &faces)
    {
        const double f = eye.focalLength();
        const QPointF c = eye.centre();
        std::vector<QPointF> points;
        for (const CameraFace &face : faces) {
            points.clear();
            for (const Vec3 &corner : face.corners)
                points.push_back(eye.project(corner));
            // The face's plane in the camera's frame is normal . p = distance. A picture
            // point's ray (f, cx - x, cy - y) meets it at camera x = f * distance /
            // (normal . ray), whose inverse is linear in x and y.
            const Vec3 &normal = face.normal;
            const double k = 1 / (face.distance * f);
            const InverseDepth depth{-normal.y * k, -normal.z * k,
                                     (normal.x * f + normal.y * c.x() + normal.z * c.y()) * k};
            RasterPolygon polygon(points, face.colour, height, &depth);
            if (!polygon.isEmpty())
                car.push_back(std::move(polygon));
        }
    }

    // Rows first to last of the sample, into `strip` (row first at its start).
    void draw(QRgb *strip, QSize pixels, int first, int last, float *depth)
    {
        static const QRgb sky = EyeScene::Sky.rgb(), gridLine = EyeScene::GridLine.rgb();
        const QRgb groundColour = ground.colour();
        const int width = pixels.width();
        // The sky, and the ground over it: each pixel written once.
        for (int j = first; j <= last; ++j) {
            QRgb *line = strip + std::ptrdiff_t(j - first) * width;
            int from = width, to = width - 1;
            if (j >= ground.firstRow() && j <= ground.lastRow())
                ground.rowSpan(j, width, &from, &to);
            to = std::max(to, from - 1);
            std::fill(line, line + from, sky);
            std::fill(line + from, line + to + 1, groundColour);
            std::fill(line + to + 1, line + width, sky);
        }
        DepthRaster raster(reinterpret_cast<uchar *>(strip), qsizetype(width) * 4, width, first,
                           last, depth);
        for (; nextLine < grid.size() && grid[nextLine].nextRow() <= last; ++nextLine)
            drawing.push_back(nextLine);
        for (std::size_t k = 0; k < drawing.size();) {
            RasterLine &line = grid[drawing[k]];
            raster.line(line, gridLine);
            if (line.isDone()) {
                drawing[k] = drawing.back();
                drawing.pop_back();
            } else {
                ++k;
            }
        }
        for (const RasterPolygon &face : car) {
            if (face.firstRow() <= last && face.lastRow() >= first)
                raster.fill(face);
        }
    }
};

// The rows a strip holds: about 128 KiB for the four samples and the depths, so
// that a strip is drawn and averaged in the processor's cache.
int stripRows(int width)
{
    constexpr qint64 StripBytes = 128 * 1024;
    const qint64 rowBytes = qint64(width) * (SampleCount + 1) * 4;
    return int(std::max<qint64>(1, StripBytes / rowBytes));
}

} // namespace

bool faceImage(const EyeProjection &eye, const EyeScene::Face &face, std::vector<QPointF> *points)
{
    points->clear();
    std::vector<Vec3> corners;
    if (!cameraCorners(eye, face, &corners))
        return false;
    for (const Vec3 &corner : corners)
        points->push_back(eye.project(corner));
    return true;
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
    const QSize pixels = image.size();
    const EyeProjection eye(camera, pixels);
    if (!eye.isDrawable()) {
        image.fill(EyeScene::Sky);
        return;
    }
    clearUpperVectorHalves();
    // The faces in the camera's frame are the same for every sample point.
    const std::vector<CameraFace> faces = facesInView(eye);
    std::vector<SampleScene> scenes;
    scenes.reserve(SampleCount);
    for (const QPointF &sample : SamplePoints)
        scenes.emplace_back(camera, pixels, sample, faces);

    // The picture is drawn a strip of rows at a time: each sample's rows into a strip
    // of its own, with one depth buffer, then the four averaged into the image. The
    // strips are kept for the next picture.
    const int width = pixels.width(), rows = std::min(stripRows(width), pixels.height());
    const std::size_t stripPixels = std::size_t(rows) * std::size_t(width);
    thread_local std::vector<QRgb> strips;
    thread_local std::vector<float> depth;
    strips.resize(stripPixels * SampleCount);
    depth.resize(stripPixels);
    for (int first = 0; first < pixels.height(); first += rows) {
        const int last = std::min(first + rows, pixels.height()) - 1;
        const QRgb *samples[SampleCount];
        for (int k = 0; k < SampleCount; ++k) {
            QRgb *strip = strips.data() + std::size_t(k) * stripPixels;
            scenes[k].draw(strip, pixels, first, last, depth.data());
            samples[k] = strip;
        }
        for (int j = first; j <= last; ++j) {
            averageOfFour(reinterpret_cast<QRgb *>(image.scanLine(j)), samples, width);
            for (const QRgb *&sample : samples)
                sample += width;
        }
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
