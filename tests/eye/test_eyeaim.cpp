// Aiming through the camera's eye: the angles a drag sets and the zoom a wheel sets.

#include "eyeaim.h"
#include "eyecamera.h"

#include <QtTest>

#include <cmath>
#include <numbers>

namespace {

double degrees(double radians)
{
    return radians * 180 / std::numbers::pi;
}

bool near(double a, double b)
{
    return std::abs(a - b) < 1e-9;
}

const QSizeF Picture(640, 480);
const QPointF Centre(320, 240);

} // namespace

class TestEyeAim : public QObject
{
    Q_OBJECT

private slots:
    void focalLength()
    {
        QVERIFY(near(eyeFocalLength(640, 90), 320));
        QVERIFY(near(eyeFocalLength(640, 60), 320 / std::tan(std::numbers::pi / 6)));
        // The picture's own projection agrees (its pi is the editor's ten digits).
        const EyeProjection eye(ViewCamera{0, 0, 0, 0, 0, 0, 60}, QSize(640, 480));
        QVERIFY(std::abs(eye.focalLength() - eyeFocalLength(640, 60)) < 1e-6);
        for (const double zoom : {0.0, 180.0, 200.0, -5.0, std::nan("")})
            QCOMPARE(eyeFocalLength(640, zoom), 0.0);
    }

    // At bank 0 from the centre: yaw + atan(dx / f), pitch - atan(dy / f).
    void dragFromTheCentre()
    {
        const double f = eyeFocalLength(640, 60);
        const EyeAim aim = aimAfterDrag({10, -5}, 0, 60, Picture, Centre, Centre + QPointF(80, 45));
        QVERIFY(near(aim.yaw, 10 + degrees(std::atan(80 / f))));
        QVERIFY(near(aim.pitch, -5 - degrees(std::atan(45 / f))));
        // Back to where it began: where it started.
        const EyeAim back = aimAfterDrag({10, -5}, 0, 60, Picture, Centre + QPointF(80, 45),
                                         Centre + QPointF(80, 45));
        QVERIFY(near(back.yaw, 10) && near(back.pitch, -5));
    }

    // Off the centre the scene point under the pointer follows it: a drag from the
    // left edge to the centre turns by the angle of the edge, half the zoom.
    void dragFromTheEdge()
    {
        const EyeAim aim = aimAfterDrag({0, 0}, 0, 90, Picture, QPointF(0, 240), Centre);
        QVERIFY(near(aim.yaw, 45));
        QVERIFY(near(aim.pitch, 0));
    }

    // Rolled right by 90 degrees, the picture's right is the world's down: a drag to
    // the right tilts the camera up (pitch falls), a drag down turns it right.
    void dragWhenBanked()
    {
        const double f = eyeFocalLength(640, 60);
        const EyeAim right = aimAfterDrag({0, 0}, 90, 60, Picture, Centre, Centre + QPointF(50, 0));
        QVERIFY(std::abs(right.yaw) < 1e-9);
        QVERIFY(near(right.pitch, -degrees(std::atan(50 / f))));
        const EyeAim down = aimAfterDrag({0, 0}, 90, 60, Picture, Centre, Centre + QPointF(0, 50));
        QVERIFY(near(down.yaw, -degrees(std::atan(50 / f))));
        QVERIFY(std::abs(down.pitch) < 1e-9);
        // A zoom that opens no picture does not aim.
        const EyeAim blind = aimAfterDrag({3, 4}, 0, 0, Picture, Centre, QPointF(0, 0));
        QVERIFY(blind.yaw == 3 && blind.pitch == 4);
    }

    void wheelNotches()
    {
        const auto tanHalf = [](double zoom) { return std::tan(zoom / 360 * std::numbers::pi); };
        QVERIFY(near(tanHalf(zoomAfterNotches(60, 1)), tanHalf(60) / 1.1));
        QVERIFY(near(tanHalf(zoomAfterNotches(60, -2)), tanHalf(60) * 1.21));
        QVERIFY(near(zoomAfterNotches(60, 0), 60));
        QVERIFY(zoomAfterNotches(179.9, -50) < 180);
        QVERIFY(zoomAfterNotches(179.99, -300) < 180);
        QCOMPARE(zoomAfterNotches(0, 1), 0.0);

        // Positions: the nearest, at least one a notch, within the range.
        const double narrowed = zoomAfterNotches(77.99, 1) * 100;
        QCOMPARE(zoomPositionAfterNotches(7799, 1, 0, 18000), int(std::lround(narrowed)));
        QCOMPARE(zoomPositionAfterNotches(5, 1, 0, 18000), 4);
        QCOMPARE(zoomPositionAfterNotches(5, -1, 0, 18000), 6);
        QCOMPARE(zoomPositionAfterNotches(0, 1, 0, 18000), 0);
        QCOMPARE(zoomPositionAfterNotches(0, -1, 0, 18000), 1);
        QCOMPARE(zoomPositionAfterNotches(17999, -1, 0, 18000), 18000);
        QCOMPARE(zoomPositionAfterNotches(18000, -1, 0, 18000), 18000);
        QCOMPARE(zoomPositionAfterNotches(18000, 1, 0, 18000), 17999);
        QCOMPARE(zoomPositionAfterNotches(4000, 0, 0, 18000), 4000);
    }
};

QTEST_MAIN(TestEyeAim)
#include "test_eyeaim.moc"
