#include "picturebox.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>

class TestPictureBox : public QObject
{
    Q_OBJECT

private slots:
    void backgroundOnlyUntilFirstCamera()
    {
        PictureBox box(PictureBox::View::Top, QColor(64, 64, 64));
        box.resize(257, 225);
        QImage image = box.grab().toImage();
        QCOMPARE(image.pixelColor(10, 10), QColor(64, 64, 64));
        QCOMPARE(image.pixelColor(128, 112), QColor(64, 64, 64));

        box.showCamera({0, 0, 0, 0, 0, 0, 78});
        image = box.grab().toImage();
        QCOMPARE(image.pixelColor(10, 10), QColor(64, 64, 64));
        // At 1.9 m the body (150, 20, 10) covers the point (1.0, 0.1).
        const QPoint body(int((1.0 + 1.9) / 3.8 * 257), int((1.9 - 0.1) / 3.8 * 225));
        QCOMPARE(image.pixelColor(body), QColor(150, 20, 10));
    }

    // What is painted, and where: the grey cross, the camera with its arrow, y up.
    void paintsTheCrossAndTheCameraWhereTheyBelong()
    {
        PictureBox box(PictureBox::View::Top, QColor(64, 64, 64));
        box.resize(257, 225);
        // The camera at (-1.4, 1.4): near the top-left corner at a half-extent of 1.9 m.
        box.showCamera({-1.4, 1.4, 0, 0, 0, 0, 78});
        QImage image = box.grab().toImage();
        const QColor cross(210, 210, 210), red(255, 0, 0);
        // The cross, dash-dot, where the car does not cover it: behind the car
        // on the X axis and to its left on the Y axis.
        int crossInRow = 0, crossInColumn = 0;
        for (int x = 0; x < 40; ++x)
            crossInRow += image.pixelColor(x, 112) == cross;
        for (int y = 0; y < 80; ++y)
            crossInColumn += image.pixelColor(128, y) == cross;
        QVERIFY(crossInRow > 20);
        QVERIFY(crossInRow < 40);
        QVERIFY(crossInColumn > 40);
        QVERIFY(crossInColumn < 80);
        const QPoint camera(int((-1.4 + 1.9) / 3.8 * 257), int((1.9 - 1.4) / 3.8 * 225));
        // Looking along +X: the arrow's shaft runs to the right of the marker.
        QCOMPARE(image.pixelColor(camera + QPoint(20, 0)), red);
        QVERIFY(image.pixelColor(camera + QPoint(0, 20)) != red);

        // Turned left by 90 degrees it looks towards +Y, up the screen.
        box.showCamera({-1.4, 1.4, 0, 90, 0, 0, 78});
        image = box.grab().toImage();
        QCOMPARE(image.pixelColor(camera + QPoint(0, -20)), red);
        QVERIFY(image.pixelColor(camera + QPoint(20, 0)) != red);
    }

    // Circles keep their radius along the horizontal axis, so they stay round
    // although the view is wider than high.
    void circlesStayRound()
    {
        PictureBox box(PictureBox::View::Side, QColor(128, 128, 128));
        box.resize(257, 225);
        box.showCamera({0, 0, 0, 0, 0, 0, 78});
        const QImage image = box.grab().toImage();
        // The front hub: a ring of radius 0.2 m around (1.5, 0.18), black inside.
        const double cx = (1.5 + 1.9) / 3.8 * 257, cy = (1.9 - 0.18) / 3.8 * 225;
        const QColor hub(110, 110, 110);
        // Distance between the outermost ring pixels through the centre.
        auto extent = [&](bool horizontal) {
            std::vector<int> found;
            for (int d = -20; d <= 20; ++d) {
                const QPoint p =
                    horizontal ? QPoint(int(cx) + d, int(cy)) : QPoint(int(cx), int(cy) + d);
                if (image.pixelColor(p) == hub)
                    found.push_back(d);
            }
            return found.empty() ? 0 : found.back() - found.front();
        };
        const double diameter = 0.4 / 3.8 * 257; // about 27 pixels
        QVERIFY2(std::abs(extent(true) - diameter) <= 2, qPrintable(QString::number(extent(true))));
        QVERIFY2(std::abs(extent(false) - diameter) <= 2,
                 qPrintable(QString::number(extent(false))));
        QCOMPARE(image.pixelColor(int(cx), int(cy)), QColor(Qt::black));
    }

    // A press at the cross reads 0 on that axis: drawing and pointing agree.
    void crossPixelsReadZero_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("257") << 257;
        QTest::newRow("249") << 249;
    }
    void crossPixelsReadZero()
    {
        QFETCH(int, width);
        PictureBox box(PictureBox::View::Front, QColor(128, 128, 128));
        box.resize(width, 225);
        box.showCamera({30, 30, 30, 0, 0, 0, 78}); // 60 m: the sketch is a dot
        const QImage image = box.grab().toImage();
        int column = -1, most = 0;
        for (int x = 0; x < width; ++x) {
            int count = 0;
            for (int y = 0; y < 225; ++y)
                count += image.pixelColor(x, y) == QColor(210, 210, 210);
            if (count > most) {
                most = count;
                column = x;
            }
        }
        QCOMPARE(column, width / 2);
        QSignalSpy spy(&box, &PictureBox::pressed);
        QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(column, 112));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toDouble(), 0.0);
        QVERIFY(qFuzzyIsNull(spy.at(0).at(0).toDouble()));
        QVERIFY(qFuzzyIsNull(spy.at(0).at(1).toDouble()));
    }

    void pressReportsUserCoordinates()
    {
        PictureBox box(PictureBox::View::Side, QColor(128, 128, 128));
        box.resize(257, 225);
        QSignalSpy spy(&box, &PictureBox::pressed);

        QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(128, 112));
        QCOMPARE(spy.count(), 0); // not drawn yet

        box.showCamera({0, 0, 0, 0, 0, 0, 78});
        QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(128, 112));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toDouble(), 0.0); // the middle pixel is the origin
        QCOMPARE(spy.at(0).at(1).toDouble(), 0.0);

        // Any button, any modifiers.
        QTest::mousePress(&box, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier,
                          QPoint(0, 1));
        QTest::mousePress(&box, Qt::MiddleButton, Qt::AltModifier, QPoint(256, 224));
        QCOMPARE(spy.count(), 3);
        // Pixel centres, in single precision.
        QVERIFY(std::abs(spy.at(1).at(0).toDouble() - (-1.9 + 0.5 * 3.8 / 257)) < 1e-6);
        QVERIFY(std::abs(spy.at(1).at(1).toDouble() - (1.9 - 1.5 * 3.8 / 225)) < 1e-6);
        QVERIFY(std::abs(spy.at(2).at(0).toDouble() - (1.9 - 0.5 * 3.8 / 257)) < 1e-6);
        QVERIFY(std::abs(spy.at(2).at(1).toDouble() - (-1.9 + 0.5 * 3.8 / 225)) < 1e-6);
        QCOMPARE(box.toUser(QPointF(256, 224)),
                 QPointF(spy.at(2).at(0).toDouble(), spy.at(2).at(1).toDouble()));

        // Moves (button held or not) and releases do nothing.
        QTest::mouseMove(&box, QPoint(10, 10));
        QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(10, 10));
        QMouseEvent drag(QEvent::MouseMove, QPointF(20, 20), box.mapToGlobal(QPointF(20, 20)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&box, &drag);
        QCOMPARE(spy.count(), 3);

        // A double click reaches a widget as press, release, double click, release:
        // each of its two presses is reported once.
        QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(40, 50));
        QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(40, 50));
        QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(40, 50));
        QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(40, 50));
        QCOMPARE(spy.count(), 5);
        QCOMPARE(spy.at(4), spy.at(3));
    }

    void pressUsesTheLatestCameraNotTheLatestPaint()
    {
        PictureBox box(PictureBox::View::Top, QColor(64, 64, 64));
        box.resize(257, 225);
        box.showCamera({0, 0, 0, 0, 0, 0, 78});
        box.grab();
        box.showCamera({50, 0, 0, 0, 0, 0, 78}); // not painted yet
        QCOMPARE(box.halfExtent(), 120.0);
        QSignalSpy spy(&box, &PictureBox::pressed);
        QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(256, 1));
        const double x = spy.at(0).at(0).toDouble();
        QVERIFY(x > 119 && x < 120);
        const int position = pointedPosition(0, x);
        QVERIFY(position > 29800 && position <= 30000);
    }

    void pointedPositions()
    {
        QCOMPARE(pointedPosition(0, 1.0), 250);
        QCOMPARE(pointedPosition(1, -2.5), -625);
        QCOMPARE(pointedPosition(2, -0.3), -75);
        QCOMPARE(pointedPosition(2, -0.9), -100);
        QCOMPARE(pointedPosition(2, -120), -100);
        QCOMPARE(pointedPosition(0, 0.002), 0); // half a step: to even
        QCOMPARE(pointedPosition(0, 0.006), 2);
        QCOMPARE(pointedPosition(1, 0.01), 2);
        QCOMPARE(pointedPosition(1, -0.006), -2);
        QCOMPARE(pointedPosition(2, 0.014), 4);
        QCOMPARE(pointedPosition(2, -0.4), -100);
        QCOMPARE(pointedPosition(0, 120.01), 30000); // never beyond the slider
        QCOMPARE(pointedPosition(1, -500), -30000);
    }
};

QTEST_MAIN(TestPictureBox)
#include "test_picturebox.moc"
