// The view through a camera's eye: points with known images, hidden faces, the cut
// at the plane before the camera, smoothed edges with no seams between faces,
// cameras that open no picture, sizes and the sheet, and a digest of the pixels of
// many pictures.

#include "eyecamera.h"
#include "eyepicture.h"
#include "eyeraster.h"
#include "eyescene.h"
#include "moddefaultvariablesetup.h"
#include "sketchcolours.h"
#include "viewplaces.h"

#include <QCryptographicHash>
#include <QtTest>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

const Vec3 Helmet{-0.1, 0, 0.47};

// Behind the car at the helmet's height, looking along +x.
ViewCamera behind(float yaw = 0, float pitch = 0, float bank = 0, float zoom = 60)
{
    return {-3, 0, 0.47, yaw, pitch, bank, zoom};
}

double tanDegrees(double degrees)
{
    return std::tan(degrees * std::numbers::pi / 180);
}

// Equal within a millionth of a pixel: the program's angles go through the editor's
// ten-digit pi.
bool near(double a, double b)
{
    return std::abs(a - b) < 1e-6;
}

QPointF imageOf(const ViewCamera &camera, const Vec3 &world)
{
    return EyeProjection(camera, EyePictureSize)
        .project(EyeProjection(camera, EyePictureSize).toCamera(world));
}

QColor at(const QImage &image, QPointF point)
{
    return image.pixelColor(point.toPoint());
}

// The car's own colours. Pictures are smoothed, so pixels on an edge blend the
// colours on either side; a pixel wholly inside a face keeps the face's colour.
bool isCarColour(const QColor &c)
{
    namespace S = SketchColours;
    for (const QColor &colour : {S::Body, S::CentrePanel, S::Strip, S::Cockpit, S::Helmet, S::Wheel,
                                 S::Hub, S::FrontAxle, ViewColours::WindowText}) {
        if (c == colour)
            return true;
    }
    return false;
}

// Pixels that show the car in one of its colours.
int carPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += isCarColour(image.pixelColor(x, y));
    }
    return count;
}

// Whether a colour lies between two others, channel by channel (within rounding).
bool between(const QColor &c, const QColor &a, const QColor &b)
{
    const auto within = [](int v, int p, int q) {
        return v >= std::min(p, q) - 1 && v <= std::max(p, q) + 1;
    };
    return within(c.red(), a.red(), b.red()) && within(c.green(), a.green(), b.green()) &&
           within(c.blue(), a.blue(), b.blue());
}

// The helmet's width in pixels along the picture's centre row.
int helmetWidth(const QImage &image)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += image.pixelColor(x, image.height() / 2) == SketchColours::Helmet;
    return count;
}

// Cameras all around the car and far from it, above, at and below the ground, at
// every angle and Zoom: the i-th of a spread.
ViewCamera spreadCamera(int i)
{
    return {-30.0 + (i * 37) % 61,
            -10 + (i * 13) % 21 * 0.5,
            -0.6 + (i * 7) % 19 * 0.1,
            float((i * 71) % 3600) / 10 - 180,
            float((i * 29) % 1800) / 10 - 90,
            float((i * 43) % 3600) / 10 - 180,
            float((i * 19) % 1790) / 10 + 0.5f};
}

// Near the car: a default camera moved a little, turned and zoomed.
ViewCamera nearCamera(const ViewCamera &from, int i)
{
    ViewCamera camera = from;
    camera.X += ((i * 37) % 100 - 50) * 0.05;
    camera.Y += ((i * 53) % 100 - 50) * 0.03;
    camera.Z += ((i * 17) % 100 - 50) * 0.01;
    camera.Yaw1 = float((i * 131) % 3600) / 10 - 180;
    camera.Pitch1 = float((i * 59) % 1800) / 10 - 90;
    camera.Bank = float((i * 23) % 3600) / 10 - 180;
    camera.Zoom = float((i * 41) % 1500) / 10 + 10;
    return camera;
}

} // namespace

class TestEyeView : public QObject
{
    Q_OBJECT

private slots:
    // f = 320 / tan 30 degrees for the 640 pixels of a Zoom of 60.
    void pointsWithKnownImages()
    {
        const double f = 320 / tanDegrees(30);
        QVERIFY(near(EyeProjection(behind(), EyePictureSize).focalLength(), f));
        const QImage straight = renderEyeView(behind());
        const QPointF centre = imageOf(behind(), Helmet);
        QVERIFY(near(centre.x(), 320) && near(centre.y(), 240));
        QCOMPARE(at(straight, centre), SketchColours::Helmet);

        // Turned left by 20 degrees: the helmet moves right.
        const QPointF turned = imageOf(behind(20), Helmet);
        QVERIFY(near(turned.x(), 320 + f * tanDegrees(20)) && near(turned.y(), 240));
        QCOMPARE(at(renderEyeView(behind(20)), turned), SketchColours::Helmet);

        // Tilted down by 10 degrees: the horizon f tan 10 above the centre row.
        const QImage tilted = renderEyeView(behind(0, 10));
        const double horizon = 240 - f * tanDegrees(10);
        QVERIFY(std::abs(imageOf(behind(0, 10), {1e7, 0, 0.47}).y() - horizon) < 0.01);
        for (const int x : {2, 637}) {
            QCOMPARE(tilted.pixelColor(x, int(horizon) - 1), EyeScene::Sky);
            QVERIFY(tilted.pixelColor(x, int(horizon) + 1) != EyeScene::Sky);
        }

        // Rolled right: the camera's left looks up, so the sky is on the left half.
        const QImage banked = renderEyeView(behind(0, 0, 90));
        for (const int y : {5, 240, 474}) {
            QCOMPARE(banked.pixelColor(5, y), EyeScene::Sky);
            QVERIFY(between(banked.pixelColor(634, y), EyeScene::Ground, EyeScene::GridLine));
        }

        // Turned a quarter left, the car is beside the camera, out of the picture.
        QVERIFY(carPixels(straight) > 1000);
        QCOMPARE(carPixels(renderEyeView(behind(90))), 0);
    }

    // A zoom that doubles tan(Zoom / 2) halves the helmet's drawn radius.
    void zoomScalesThePicture()
    {
        const auto zoomFor = [](double tangent) {
            return float(2 * std::atan(tangent) * 180 / std::numbers::pi);
        };
        const int narrow = helmetWidth(renderEyeView(behind(0, 0, 0, zoomFor(0.25))));
        const int wide = helmetWidth(renderEyeView(behind(0, 0, 0, zoomFor(0.5))));
        QVERIFY2(narrow > 100 && std::abs(narrow - 2 * wide) <= 2,
                 qPrintable(QStringLiteral("%1 and %2 pixels").arg(narrow).arg(wide)));
    }

    // Nearer faces hide farther ones whatever order they are drawn in; faces are cut
    // at the plane before the camera; from below the ground the car is hidden.
    void hiddenAndCutFaces()
    {
        // Low in front of the car looking back: the body's nose hides the helmet.
        const ViewCamera front{5, 0, 0, 180, 0, 0, 60};
        QCOMPARE(at(renderEyeView(front), imageOf(front, Helmet)), SketchColours::Body);
        // From the right, the near wheel's hub hides the far wheel and the body.
        const ViewCamera side{-0.95, -3, 0.18, 90, 0, 0, 60};
        QCOMPARE(at(renderEyeView(side), imageOf(side, {-0.95, -0.9, 0.18})), SketchColours::Hub);

        // Beside the body, looking along it: its side runs from behind the camera to
        // the front and fills only the left of the picture.
        const QImage along = renderEyeView({0, -0.31, 0.15, 0, 0, 0, 90});
        QCOMPARE(along.pixelColor(0, 240), SketchColours::Body);
        QVERIFY(!isCarColour(along.pixelColor(639, 240)));
        QVERIFY(between(along.pixelColor(639, 300), EyeScene::Ground, EyeScene::GridLine));

        const QImage below = renderEyeView({-3, 0, -0.3, 0, -10, 0, 60});
        QCOMPARE(carPixels(below), 0);
        QVERIFY(below.pixelColor(320, 5) != EyeScene::Sky); // the ground's underside
    }

    // Edges are smoothed: the horizon passes through a pixel row in blends of the sky
    // and the ground, in proportion to the part of the pixel on either side.
    void smoothedEdges()
    {
        // Level, the horizon runs along y = 240, between two rows, both whole; tilted
        // down by half a pixel it runs through the middle of the row above.
        const QImage level = renderEyeView({-3, 0, 0.47, 90, 0, 0, 60});
        const QImage tilted = renderEyeView({-3, 0, 0.47, 90, 0.05f, 0, 60});
        const double f = 320 / tanDegrees(30);
        QVERIFY(std::abs(f * tanDegrees(0.05) - 0.48) < 0.01);
        QCOMPARE(level.pixelColor(10, 239), EyeScene::Sky);
        QVERIFY(between(level.pixelColor(10, 240), EyeScene::Ground, EyeScene::GridLine));
        // Two of the four samples of row 239 (at 239.125, .375, .625 and .875) lie below
        // the horizon at 239.52.
        const QColor half = tilted.pixelColor(10, 239);
        QVERIFY2(half != EyeScene::Sky && between(half, EyeScene::Sky, EyeScene::Ground),
                 qPrintable(half.name()));
        const auto mid = [](int a, int b) { return (2 * a + 2 * b + 2) / 4; };
        QCOMPARE(half, QColor(mid(EyeScene::Sky.red(), EyeScene::Ground.red()),
                              mid(EyeScene::Sky.green(), EyeScene::Ground.green()),
                              mid(EyeScene::Sky.blue(), EyeScene::Ground.blue())));

        // Along the body's slanted side against the ground, blends of the two.
        const QImage picture = renderEyeView(behind(0, 15));
        int blends = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                blends += !isCarColour(c) && c != EyeScene::Ground && c != EyeScene::Sky &&
                          c != EyeScene::GridLine;
            }
        }
        QVERIFY2(blends > 500, qPrintable(QString::number(blends)));
    }

    // Faces that share an edge leave no seam: two faces of the body in one colour
    // meet with no sky or ground showing through between them, and no pixel along
    // the edge is darker or lighter than the face (as a pixel drawn twice would be).
    void noSeamBetweenFaces()
    {
        // Above, ahead and to the right of the body's front right corner, looking down
        // at it: its top, right side and front meet at the corner (2.4, -0.3, 0.3).
        const ViewCamera camera{3.2, -1, 1, 138.8f, 33.4f, 0, 70};
        const QImage picture = renderEyeView(camera);
        const QPointF corner = imageOf(camera, {2.4, -0.3, 0.3});
        QVERIFY(QRectF(50, 50, 540, 380).contains(corner));
        // Each edge from the corner: along the top's right edge and its front edge, and
        // down the side's front edge. Every pixel from a few pixels off the corner on
        // lies where two faces share the edge (the front wheel is not in the way).
        for (const Vec3 &end :
             {Vec3{1.95, -0.3, 0.3}, Vec3{2.4, 0.2, 0.3}, Vec3{2.4, -0.3, 0.05}}) {
            const QPointF far = imageOf(camera, end);
            const int steps = int(QLineF(corner, far).length());
            QVERIFY(steps > 30);
            for (int k = 4; k < steps - 4; ++k) {
                const QPointF p = corner + (far - corner) * (double(k) / steps);
                QCOMPARE(picture.pixelColor(p.toPoint()), SketchColours::Body);
            }
        }
    }

    // At each sample, a pixel is filled when its centre lies in the polygon or on its
    // edge, once: two triangles that share a diagonal together fill every centre the
    // square holds, and none twice.
    void sharedEdgeRule()
    {
        const QSize size(40, 30);
        const auto fill = [&](const std::vector<QPointF> &corners) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::black);
            std::vector<float> depth(std::size_t(size.width() * size.height()));
            DepthRaster(image.bits(), image.bytesPerLine(), size.width(), 0, size.height() - 1,
                        depth.data())
                .fill(RasterPolygon(corners, qRgb(255, 255, 255), size.height()));
            return image;
        };
        for (const QPointF shift : {QPointF(0, 0), QPointF(0.5, 0.5), QPointF(-0.125, 0.375)}) {
            const QPointF a = QPointF(3.2, 2.5) + shift, b = QPointF(36.7, 4) + shift,
                          c = QPointF(35, 27.5) + shift, d = QPointF(2, 26) + shift;
            const QImage first = fill({a, b, c}), second = fill({a, c, d});
            const QImage whole = fill({a, b, c, d});
            int filled = 0;
            for (int y = 0; y < size.height(); ++y) {
                for (int x = 0; x < size.width(); ++x) {
                    const bool one = first.pixel(x, y) != qRgb(0, 0, 0);
                    const bool two = second.pixel(x, y) != qRgb(0, 0, 0);
                    QVERIFY(!(one && two));
                    QCOMPARE(one || two, whole.pixel(x, y) != qRgb(0, 0, 0));
                    filled += one || two;
                }
            }
            QVERIFY(filled > 700);
        }
    }

    // A line takes one pixel a step along its longer axis, its points stepped in
    // 1/65536 of a pixel: the same pixels whichever way it runs, however steep, and
    // however the picture is cut into strips of rows drawn one after another.
    void linesInStrips()
    {
        const QSize size(50, 40);
        const QRgb white = qRgb(255, 255, 255);
        const auto blank = [&] {
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::black);
            return image;
        };
        const auto stepped = [&](QPointF a, QPointF b) {
            QImage image = blank();
            const QPointF d = b - a;
            const int steps = int(std::ceil(std::max(std::abs(d.x()), std::abs(d.y()))));
            const QPointF step = steps > 0 ? d / steps : QPointF();
            const auto fixed = [](double v) { return std::llround(v * 65536); };
            for (int k = 0; k <= steps; ++k) {
                const qint64 i = (fixed(a.x()) + k * fixed(step.x())) >> 16;
                const qint64 j = (fixed(a.y()) + k * fixed(step.y())) >> 16;
                if (image.rect().contains(int(i), int(j)))
                    image.setPixel(int(i), int(j), white);
            }
            return image;
        };
        const auto inStrips = [&](QPointF a, QPointF b, int rows) {
            QImage image = blank();
            std::vector<float> depth(std::size_t(size.width() * rows));
            RasterLine line(a, b);
            for (int first = 0; first < size.height(); first += rows) {
                const int last = std::min(first + rows, size.height()) - 1;
                DepthRaster(image.scanLine(first), image.bytesPerLine(), size.width(), first, last,
                            depth.data())
                    .line(line, white);
            }
            return image;
        };
        QList<QLineF> lines = {
            {0.5, 20.5, 49.5, 20.5},      {49.9, 3.2, 0.1, 3.7},   {25.5, -1, 25.5, 41},
            {30.2, 40.9, 29.1, -0.8},     {-1, -1, 51, 41},        {51, 0, -1, 39.99},
            {10.25, 10.75, 10.25, 10.75}, {-0.9, 39.6, 50.8, 36.1}};
        for (int k = 0; k < 200; ++k) {
            const auto coordinate = [&](int salt, double span) {
                return -1 + ((k * salt) % 997) / 997.0 * (span + 2);
            };
            lines << QLineF(coordinate(311, 50), coordinate(577, 40), coordinate(733, 50),
                            coordinate(199, 40));
        }
        int drawn = 0;
        for (const QLineF &line : lines) {
            const QImage expected = stepped(line.p1(), line.p2());
            drawn += expected != blank();
            for (const int rows : {1, 3, 7, 40}) {
                QVERIFY2(inStrips(line.p1(), line.p2(), rows) == expected,
                         qPrintable(QStringLiteral("(%1, %2) to (%3, %4) in strips of %5 rows")
                                        .arg(line.x1())
                                        .arg(line.y1())
                                        .arg(line.x2())
                                        .arg(line.y2())
                                        .arg(rows)));
            }
        }
        QVERIFY(drawn > 190);
    }

    // A Zoom of 0 or 180 and values that are not finite open no picture: only the
    // sky is drawn.
    void camerasThatOpenNoPicture_data()
    {
        QTest::addColumn<ViewCamera>("camera");
        QTest::addColumn<bool>("drawable");
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float infinity = std::numeric_limits<float>::infinity();
        QTest::newRow("zoom 0") << behind(0, 0, 0, 0) << false;
        QTest::newRow("zoom 180") << behind(0, 0, 0, 180) << false;
        QTest::newRow("zoom 200") << behind(0, 0, 0, 200) << false;
        QTest::newRow("zoom NaN") << behind(0, 0, 0, nan) << false;
        QTest::newRow("yaw infinite") << behind(infinity) << false;
        QTest::newRow("zoom 0.01") << behind(0, 0, 0, 0.01f) << true;
        QTest::newRow("zoom 179.99") << behind(0, 0, 0, 179.99f) << true;
    }
    void camerasThatOpenNoPicture()
    {
        QFETCH(ViewCamera, camera);
        QFETCH(bool, drawable);
        QCOMPARE(EyeProjection(camera, EyePictureSize).isDrawable(), drawable);
        QImage sky(EyePictureSize, QImage::Format_RGB32);
        sky.fill(EyeScene::Sky);
        QCOMPARE(renderEyeView(camera) == sky, !drawable);
    }

    void sizesScalesAndSheet()
    {
        QCOMPARE(renderEyeView(behind()).size(), QSize(640, 480));
        const QImage twice = renderEyeView(behind(), QSize(320, 200), 2);
        QCOMPARE(twice.size(), QSize(640, 400));
        QCOMPARE(twice.devicePixelRatio(), 2.0);
        QVERIFY(renderEyeView(behind(), QSize(64, 4096)).isNull() == false);
        QVERIFY(renderEyeView(behind(), QSize(63, 480)).isNull());
        QVERIFY(renderEyeView(behind(), QSize(640, 4097)).isNull());
        QVERIFY(renderEyeView(behind(), EyePictureSize, 8.5).isNull());

        // Two across, three down, each picture the camera's own under its caption.
        const CameraSet cameras = SetupDefaults().DefaultCameras(5);
        const QSize size(200, 150);
        const QImage sheet = renderEyeSheet(cameras, size, 2);
        QCOMPARE(sheet.size(), QSize(2 * (400 + 8), 3 * (32 + 150) * 2));
        QList<QImage> pictures;
        for (int k = 0; k < CameraCount; ++k) {
            const QImage picture = renderEyeView(viewCameraForRecord(cameras[k]), size, 2);
            const QPoint corner((k % 2) * 416, ((k / 2) * 182 + 32) * 2);
            QCOMPARE(sheet.copy(QRect(corner, picture.size())), picture.copy());
            QVERIFY(!pictures.contains(picture));
            pictures << picture;
        }
        // At a scale that rounds, every picture is still whole and the camera's own.
        const QSize odd(101, 77);
        const QImage oddSheet = renderEyeSheet(cameras, odd, 1.5);
        for (int k = 0; k < CameraCount; ++k) {
            const QImage picture = renderEyeView(viewCameraForRecord(cameras[k]), odd, 1.5);
            const QPoint corner =
                (QPointF((k % 2) * (101 + 8), (k / 2) * (32 + 77) + 32) * 1.5).toPoint();
            QVERIFY(oddSheet.rect().contains(QRect(corner, picture.size())));
            QCOMPARE(oddSheet.copy(QRect(corner, picture.size())), picture.copy());
        }
    }

    // The pixels of many pictures, by a digest recorded when they were last checked by
    // eye: every default camera, cameras near the car and far from it, odd sizes and
    // scales. Drawing them faster must not change a pixel, and every system must draw
    // the same ones. A change meant to change the pictures records the new digest.
    void picturesKeepTheirPixels()
    {
        const auto defaults = SetupDefaults();
        QList<ViewCamera> cameras;
        for (int type = 0; type < CarTypeCount; ++type) {
            for (const CameraRecord &record : defaults.DefaultCameras(type))
                cameras << viewCameraForRecord(record);
        }
        const qsizetype made = cameras.size();
        for (int i = 0; i < 60; ++i)
            cameras << nearCamera(cameras[i % made], i) << spreadCamera(i);

        QCryptographicHash digest(QCryptographicHash::Sha256);
        const auto add = [&](const QImage &image) {
            QVERIFY(!image.isNull());
            QByteArray bytes;
            bytes.reserve(image.width() * 3);
            for (int y = 0; y < image.height(); ++y) {
                const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
                bytes.clear();
                for (int x = 0; x < image.width(); ++x)
                    bytes.append(char(qRed(line[x])))
                        .append(char(qGreen(line[x])))
                        .append(char(qBlue(line[x])));
                digest.addData(bytes);
            }
        };
        for (qsizetype k = 0; k < cameras.size(); ++k) {
            add(renderEyeView(cameras[k]));
            if (k % 9 == 0) {
                add(renderEyeView(cameras[k], QSize(64, 64)));
                add(renderEyeView(cameras[k], QSize(333, 217), 1.5));
                add(renderEyeView(cameras[k], QSize(1000, 90)));
                add(renderEyeView(cameras[k], QSize(90, 700), 2));
            }
        }
        QCOMPARE(digest.result().toHex(),
                 QByteArray("81b4eadc7a47d71465d61729ce29f92739fa570318c74cdcce464b6d0726b857"));
    }
};

QTEST_MAIN(TestEyeView)
#include "test_eyeview.moc"
