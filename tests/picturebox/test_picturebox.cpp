// The picture area: what it paints and what a press in it reports.

#include "picturebox.h"
#include "slidervalues.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>

namespace {

// The pixel of a point in metres at a half-extent of 1.9 m, in a 257 x 225 view.
QPoint pixel(double x, double y)
{
    return QPoint(int((x + 1.9) / 3.8 * 257), int((1.9 - y) / 3.8 * 225));
}

} // namespace

class TestPictureBox : public QObject
{
    Q_OBJECT

private slots:
    // A picture area shows its background until its first camera, then the sketch in
    // its colours, the dash-dot cross, the arrow with y up, and circles that stay round.
    void paints()
    {
        PictureBox box(PictureBox::View::Top, QColor(64, 64, 64));
        box.resize(257, 225);
        QCOMPARE(box.grab().toImage().pixelColor(128, 112), QColor(64, 64, 64));
        box.showCamera({-1.4, 1.4, 0, 90, 0, 0, 78});
        QImage image = box.grab().toImage();
        QCOMPARE(image.pixelColor(pixel(1.0, 0.1)), QColor(150, 20, 10)); // the body
        // The cross behind the car on the X axis and above it on the Y axis, dashed.
        int inRow = 0, inColumn = 0;
        for (int i = 0; i < 80; ++i) {
            inRow += i < 40 && image.pixelColor(i, 112) == QColor(210, 210, 210);
            inColumn += image.pixelColor(128, i) == QColor(210, 210, 210);
        }
        QVERIFY(inRow > 20 && inRow < 40 && inColumn > 40 && inColumn < 80);
        // Turned left by 90 degrees, the arrow runs up the screen.
        const QPoint camera = pixel(-1.4, 1.4);
        QVERIFY(image.pixelColor(camera + QPoint(0, -20)) == Qt::red);
        QVERIFY(image.pixelColor(camera + QPoint(20, 0)) != Qt::red);

        // In the side view, wider than high, the front hub (0.4 m across) is round and filled.
        PictureBox side(PictureBox::View::Side, QColor(128, 128, 128));
        side.resize(257, 225);
        side.showCamera({0, 0, 0, 0, 0, 0, 78});
        image = side.grab().toImage();
        const QPoint hub = pixel(1.5, 0.18);
        QCOMPARE(image.pixelColor(hub), QColor(Qt::black));
        const auto across = [&](QPoint step) {
            int far = 0, near = 0;
            for (int d = 1; d <= 20; ++d) {
                far = image.pixelColor(hub + d * step) == QColor(110, 110, 110) ? d : far;
                near = image.pixelColor(hub - d * step) == QColor(110, 110, 110) ? d : near;
            }
            return far + near;
        };
        QVERIFY(std::abs(across({1, 0}) - 0.4 / 3.8 * 257) <= 2);
        QVERIFY(std::abs(across({0, 1}) - 0.4 / 3.8 * 257) <= 2);
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
        // Any button, any modifiers; a pixel is read at its centre, the middle one exactly 0.
        QTest::mousePress(&box, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier,
                          QPoint(256, 1));
        QCOMPARE(spy.at(0), (QVariantList{0.0, 0.0}));
        QCOMPARE(spy.at(1).at(0).toFloat(), float(1.9 - 1.9 / 257));
        QCOMPARE(spy.at(1).at(1).toFloat(), float(1.9 - 3 * 1.9 / 225));
        // A release reports nothing; each of a double click's two presses is reported once.
        QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mousePress(&box, Qt::MiddleButton, Qt::AltModifier, QPoint(40, 50));
        QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(40, 50));
        QCOMPARE(spy.count(), 4);
        QCOMPARE(spy.at(3), spy.at(2));

        // The latest camera decides, painted or not: here 120 m either way.
        box.grab();
        box.showCamera({50, 0, 0, 0, 0, 0, 78});
        QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(256, 1));
        QCOMPARE(pointedPosition(0, spy.at(4).at(0).toDouble()), 29883);
    }
};

QTEST_MAIN(TestPictureBox)
#include "test_picturebox.moc"
