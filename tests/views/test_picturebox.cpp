#include "picturebox.h"

#include <QSignalSpy>
#include <QtTest>

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
        QCOMPARE(spy.at(1).at(0).toDouble(), -1.9 + 0.5 * 3.8 / 257);
        QCOMPARE(spy.at(1).at(1).toDouble(), 1.9 - 1.5 * 3.8 / 225);
        QVERIFY(spy.at(2).at(0).toDouble() < 1.9);
        QVERIFY(spy.at(2).at(1).toDouble() > -1.9);

        // Moves and releases do nothing.
        QTest::mouseMove(&box, QPoint(10, 10));
        QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(spy.count(), 3);
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
        QCOMPARE(pointedPosition(0, 120.01), 30000); // never beyond the slider
        QCOMPARE(pointedPosition(1, -500), -30000);
    }
};

QTEST_MAIN(TestPictureBox)
#include "test_picturebox.moc"
