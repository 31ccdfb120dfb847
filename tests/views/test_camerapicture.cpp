// Pictures of the three views: what the editor's window shows, six rows in camera
// order, drawn at more pixels for a larger scale.

#include "camerapicture.h"
#include "mainwindow.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

QImage opaque(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// Pixels of the grey cross, which is drawn with one-pixel lines.
int crossPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == QColor(210, 210, 210);
    }
    return count;
}

const ViewCamera noseCamera = {2.324, 0.204, 0.084, 0, 0.2f, 0, 77.99f};

} // namespace

class TestCameraPicture : public QObject
{
    Q_OBJECT

private slots:
    // Stored values reach the views as the sliders hold them: rounded to slider
    // steps, and a value no slider holds at the end of its range.
    void viewCameraOfARecord()
    {
        CameraRecord stored;
        stored.X = 2.323915f;
        stored.Y = 0.35f; // just below 0.35: position 87
        stored.Z = 500;
        stored.Yaw1 = 1.361257f; // 77.99428 degrees
        stored.Pitch1 = -4;      // -229 degrees
        stored.Bank = std::nanf("");
        stored.Zoom = -0.1f;
        const ViewCamera camera = viewCameraForRecord(stored);
        QCOMPARE(camera.X, 2.324);
        QCOMPARE(camera.Y, 0.348);
        QCOMPARE(camera.Z, 120.0);
        QCOMPARE(camera.Yaw1, 77.99f);
        QCOMPARE(camera.Pitch1, -181.0f);
        QCOMPARE(camera.Bank, 0.0f);
        QCOMPARE(camera.Zoom, 0.0f);
    }

    // The editor's window, with a camera selected, shows in its views' region
    // exactly the picture of that stored camera.
    void pictureIsTheEditorsViews()
    {
        CameraSet cameras = defaultCameras(5);
        cameras[RollBarCamera].X = 0.35f;   // drawn at 0.348 m
        cameras[RollBarCamera].Yaw1 = 0.6f; // 34.38 degrees
        cameras[RollBarCamera].Zoom = 3.5f; // 200.5 degrees: the slider stops at 180
        QTemporaryDir dir;
        MainWindow m;
        const QRect region(8, 296, 777, 225);
        QCOMPARE(cameraViewsRegion(), region);
        QCOMPARE(opaque(m.window->centralWidget()->grab(region).toImage()),
                 renderCameraViews(noseCamera));

        m.open(writeFile(dir.filePath("lotus.cam"), cameraFile(cameras)));
        m.clickOption(RollBarCamera);
        QCOMPARE(m.slider(6)->value(), 18000);
        const QImage picture = renderCameraViews(viewCameraForRecord(cameras[RollBarCamera]));
        QCOMPARE(picture.size(), region.size());
        QCOMPARE(opaque(m.window->centralWidget()->grab(region).toImage()), picture);
        // The window's background between the views, the views' own backgrounds.
        QCOMPARE(picture.pixelColor(260, 5), QColor(239, 239, 239));
        QCOMPARE(picture.pixelColor(2, 2), QColor(64, 64, 64));
        QCOMPARE(picture.pixelColor(775, 222), QColor(128, 128, 128));
    }

    void sheetHasSixRowsInCameraOrder()
    {
        const CameraSet cameras = defaultCameras(5);
        const QImage sheet = renderCameraSheet(cameras);
        QCOMPARE(sheet.size(), QSize(777, 6 * (32 + 225)));
        QList<QImage> rows, headings;
        for (int k = 0; k < CameraCount; ++k) {
            const QImage row = renderCameraViews(viewCameraForRecord(cameras[k]));
            QCOMPARE(sheet.copy(0, k * 257 + 32, 777, 225), row);
            // A caption in the text colour on the window's background, each its own.
            const QImage heading = sheet.copy(0, k * 257, 777, 32);
            int text = 0, other = 0;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 777; ++x) {
                    const QColor c = heading.pixelColor(x, y);
                    text += c == Qt::black;
                    other += c != Qt::black && c != QColor(239, 239, 239) && c.red() != c.blue();
                }
            }
            QVERIFY(text > 30);
            QCOMPARE(other, 0);
            QVERIFY(!rows.contains(row));
            QVERIFY(!headings.contains(heading));
            rows << row;
            headings << heading;
        }
    }

    // Drawn at twice the pixels, not enlarged: lines stay one pixel wide, so the
    // cross has about twice the pixels, where an enlarged copy would have four times.
    void scaleDrawsAtMorePixels()
    {
        const QImage one = renderCameraViews(noseCamera, 1);
        const QImage two = renderCameraViews(noseCamera, 2);
        QCOMPARE(two.size(), QSize(1554, 450));
        QCOMPARE(two.devicePixelRatio(), 2.0);
        const double ratio = double(crossPixels(two)) / crossPixels(one);
        QVERIFY2(ratio > 1.6 && ratio < 2.4, qPrintable(QString::number(ratio)));
        QCOMPARE(two.pixelColor(527, 100), QColor(239, 239, 239)); // the side view starts at 528
        QCOMPARE(two.pixelColor(529, 100), QColor(128, 128, 128));

        // Sides rounded to the nearest pixel: 777 x 1.5 = 1165.5, 225 x 1.5 = 337.5.
        QCOMPARE(renderCameraViews(noseCamera, 1.5).size(), QSize(1166, 338));
        // A side rounded up still has every pixel painted: 225 x 3.3 = 742.5.
        const QImage rounded = renderCameraViews(noseCamera, 3.3);
        QCOMPARE(rounded.size(), QSize(2564, 743));
        const QList<QColor> backgrounds = {QColor(64, 64, 64), QColor(128, 128, 128),
                                           QColor(239, 239, 239)};
        for (int x = 0; x < rounded.width(); ++x)
            QVERIFY(backgrounds.contains(rounded.pixelColor(x, 742)));
        QCOMPARE(renderCameraSheet(defaultCameras(0), 8).size(), QSize(6216, 12336));
        QVERIFY(renderCameraViews(noseCamera, 0.99).isNull());
        QVERIFY(renderCameraViews(noseCamera, 8.01).isNull());
        QVERIFY(renderCameraSheet(defaultCameras(0), std::nan("")).isNull());
    }
};

QTEST_MAIN(TestCameraPicture)
#include "test_camerapicture.moc"
