// The view through a camera's eye: points with known images, hidden faces, the cut
// at the plane before the camera, cameras that open no picture, sizes and the sheet.

#include "eyecamera.h"
#include "eyepicture.h"
#include "eyescene.h"
#include "moddefaultvariablesetup.h"
#include "sketchcolours.h"

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

bool isSkyOrGround(const QColor &c)
{
    return c == EyeScene::Sky || c == EyeScene::Ground || c == EyeScene::GridLine;
}

// Pixels that show the car: neither sky nor ground.
int carPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += !isSkyOrGround(image.pixelColor(x, y));
    }
    return count;
}

// The helmet's width in pixels along the picture's centre row.
int helmetWidth(const QImage &image)
{
    int count = 0;
    for (int x = 0; x < image.width(); ++x)
        count += image.pixelColor(x, image.height() / 2) == SketchColours::Helmet;
    return count;
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
            QVERIFY(banked.pixelColor(634, y) != EyeScene::Sky);
            QVERIFY(isSkyOrGround(banked.pixelColor(634, y)));
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
        QVERIFY(isSkyOrGround(along.pixelColor(639, 240)));
        QVERIFY(isSkyOrGround(along.pixelColor(639, 300)));

        const QImage below = renderEyeView({-3, 0, -0.3, 0, -10, 0, 60});
        QCOMPARE(carPixels(below), 0);
        QVERIFY(below.pixelColor(320, 5) != EyeScene::Sky); // the ground's underside
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
};

QTEST_MAIN(TestEyeView)
#include "test_eyeview.moc"
