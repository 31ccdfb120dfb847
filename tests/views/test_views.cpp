// The three views: what a redraw draws, in which order, what a picture area paints,
// and what a press in it reports.

#include "modgraphingroutines.h"
#include "picturebox.h"

#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <map>

using Op = RecordingSurface::Op;
using namespace modGraphingRoutines;

namespace {

struct Views
{
    RecordingSurface top, side, front;
    const RecordingSurface &operator[](int i) const { return i == 0 ? top : i == 1 ? side : front; }
};

Views draw(double X, double Y, double Z, float yaw, float pitch, float bank, float zoom)
{
    Views v;
    DrawCameraViews(v.top, v.side, v.front, X, Y, Z, yaw, pitch, bank, zoom);
    return v;
}

// The camera's lines in one view, in drawing order: C-T, T-E, D-E, D-T, C-R, C-L.
std::vector<QLineF> cameraLines(const RecordingSurface &s)
{
    std::vector<QLineF> lines;
    for (const auto &c : s.calls) {
        if (c.op == Op::Line && c.color != QColor(210, 210, 210))
            lines.emplace_back(c.args[0], c.args[1], c.args[2], c.args[3]);
    }
    return lines;
}

// The views of a camera at the origin are 2 x 1.9 m wide: shaft, head and field edge.
constexpr double S = 1.9 / 1.5, Hd = 1.9 / 20, F = 1.9 / 2, E = F * M_SQRT1_2;

// The car sketch as every redraw draws it, in metres, after the crosses.
const char *const Sketch =
    "top width;top rect -1 -0.6 -0.9 0.6;top rect 1.4 0.6 1.6 -0.6 #ffffff;"
    "top box 1.15 0.85 1.85 0.6;top box 1.15 -0.6 1.85 -0.85;"
    "top rect -1.25 0.3 2.4 -0.3 #96140a;top rect -1.15 0.25 -0.3 -0.25 #736e6e;"
    "top rect -1.7 0.35 -0.3 0.25 #aaaaaa;top rect -1.7 -0.25 -0.3 -0.35 #aaaaaa;"
    "top rect -0.11 0.2 0.3 -0.2 #aa4646;top circle -0.1 0 0.13 #000050;"
    "top box -1.3 0.9 -0.6 0.5;top box -1.3 -0.5 -0.6 -0.9;"
    "side rect -1.25 0.3 2.4 0 #96140a;side rect -1.7 0.3 -0.3 0.25 #aaaaaa;"
    "side circle -0.95 0.18 0.35 #000000;side circle 1.5 0.18 0.35 #000000;"
    "side circle -0.95 0.18 0.2 #6e6e6e;side circle 1.5 0.18 0.2 #6e6e6e;"
    "side circle -0.1 0.47 0.13 #000050;front box 0.6 0.5 0.85 -0.16;"
    "front box -0.85 0.5 -0.6 -0.16;front circle 0 0.47 0.13 #000050;"
    "front rect -0.3 0.3 0.3 0 #96140a";

// The pixel of a point in metres at a half-extent of 1.9 m.
QPoint pixel(double x, double y)
{
    return QPoint(int((x + 1.9) / 3.8 * 257), int((1.9 - y) / 3.8 * 225));
}

} // namespace

class TestViews : public QObject
{
    Q_OBJECT

private slots:
    void halfExtentBoundsAreStrict_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("z");
        QTest::addColumn<double>("h");
        QTest::newRow("origin") << 0.0 << 0.0 << 0.0 << 1.9;
        QTest::newRow("X 1.5") << 1.5 << 0.0 << 0.0 << 3.75;
        QTest::newRow("Z -1.5") << 0.0 << 0.0 << -1.5 << 3.75;
        QTest::newRow("X 50") << 50.0 << 0.0 << 0.0 << 120.0;
        QTest::newRow("Y 50") << 0.0 << 50.0 << 0.0 << 60.0;
        QTest::newRow("Y 60") << 0.0 << 60.0 << 0.0 << 120.0;
    }
    void halfExtentBoundsAreStrict()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, z);
        QFETCH(double, h);
        const Views v = draw(x, y, z, 0, 0, 0, 78);
        QCOMPARE(ViewHalfExtent(), h);
        // Every view: the user square -h..h with y up, and the cross through the origin.
        for (int i = 0; i < 3; ++i) {
            const auto &c = v[i].calls;
            QCOMPARE(c[2].args, (std::vector<float>{float(-h), float(h), float(h), float(-h)}));
            QCOMPARE(c[4].args, (std::vector<float>{float(-h), 0, float(h), 0}));
            QCOMPARE(c[5].args, (std::vector<float>{0, float(-h), 0, float(h)}));
        }
    }

    // Line i of a view for a camera at the origin with the given angles in degrees.
    void arrowAndField_data()
    {
        QTest::addColumn<QList<float>>("angles"); // yaw, pitch, bank, zoom
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("line");
        QTest::addColumn<QLineF>("expected");
        const QList<float> ahead{0, 0, 0, 90}, yaw{90, 0, 0, 78}, pitch{0, 90, 0, 78},
            bank{0, 0, 90, 90}, zoom0{0, 0, 0, 0}, zoom180{0, 0, 0, 180};
        QTest::newRow("ahead: shaft") << ahead << 0 << 0 << QLineF(0, 0, S, 0);
        QTest::newRow("ahead: head") << ahead << 0 << 1 << QLineF(S, 0, S - Hd, -Hd);
        QTest::newRow("ahead: right edge") << ahead << 0 << 4 << QLineF(0, 0, E, -E);
        QTest::newRow("yaw 90: shaft up") << yaw << 0 << 0 << QLineF(0, 0, 0, S);
        QTest::newRow("yaw 90: head") << yaw << 0 << 1 << QLineF(0, S, Hd, S - Hd);
        QTest::newRow("pitch 90: side down") << pitch << 1 << 0 << QLineF(0, 0, 0, -S);
        QTest::newRow("pitch 90: top no shaft") << pitch << 0 << 0 << QLineF(0, 0, 0, 0);
        QTest::newRow("pitch 90: top head") << pitch << 0 << 2 << QLineF(0, Hd, 0, -Hd);
        QTest::newRow("bank 90: side shaft") << bank << 1 << 0 << QLineF(0, 0, S, 0);
        QTest::newRow("bank 90: left edge up") << bank << 1 << 5 << QLineF(0, 0, E, E);
        QTest::newRow("bank 90: top collapsed") << bank << 0 << 5 << QLineF(0, 0, E, 0);
        QTest::newRow("zoom 0: right") << zoom0 << 0 << 4 << QLineF(0, 0, F, 0);
        QTest::newRow("zoom 180: right") << zoom180 << 0 << 4 << QLineF(0, 0, 0, -F);
        QTest::newRow("zoom 180: left") << zoom180 << 0 << 5 << QLineF(0, 0, 0, F);
    }
    void arrowAndField()
    {
        QFETCH(QList<float>, angles);
        QFETCH(int, view);
        QFETCH(int, line);
        QFETCH(QLineF, expected);
        const Views v = draw(0, 0, 0, angles[0], angles[1], angles[2], angles[3]);
        const QLineF drawn = cameraLines(v[view]).at(line);
        for (const auto &[got, want] :
             {std::pair(drawn.p1(), expected.p1()), {drawn.p2(), expected.p2()}}) {
            if (QLineF(got, want).length() > 1e-5)
                QCOMPARE(got, want);
        }
    }

    // Every call of one redraw across the three views, in order: the crosses, the car
    // sketch in metres (the same at any half-extent), then the camera marker at the
    // camera in each view's two axes, the arrow and the two field edges.
    void callOrderAcrossViews()
    {
        static const char *const names[] = {"scale", "clear", "width", "style", "fill",
                                            "line",  "rect",  "box",   "circle"};
        const QStringList views{"top", "side", "front"};
        for (double X : {0.3, 50.0}) {
            QStringList expected;
            const auto each = [&](const QStringList &calls) {
                for (const QString &view : views) {
                    for (const QString &call : calls)
                        expected << view + ' ' + call;
                }
            };
            each({"width"});
            each({"clear", "scale", "style 1", "line #d2d2d2", "line #d2d2d2"});
            each({"style 0"});
            each({"width"});
            each({"fill"});
            expected += QString(Sketch).split(';');
            const QString r = QString::number(float(0.02 * (X < 1 ? 1.9 : 120)));
            expected += {QString("top circle %1 -0.2 %2 #ff0000").arg(X).arg(r),
                         QString("side circle %1 0.1 %2 #ff0000").arg(X).arg(r),
                         QString("front circle -0.2 0.1 %1 #ff0000").arg(r)};
            each({"line #ff0000", "line #ff0000"});
            each({"line #ff0000", "line #ff0000"});
            each({"line #00c8c8", "line #c8c800"});

            const Views v = draw(X, -0.2, 0.1, 15, 5, 0, 78);
            std::map<long, QString> bySerial;
            for (int i = 0; i < 3; ++i) {
                for (const auto &c : v[i].calls) {
                    QString &entry = bySerial[c.serial] = views[i] + ' ' + names[int(c.op)];
                    if (c.op == Op::PenStyle)
                        entry += ' ' + QString::number(c.value);
                    for (float a : c.op >= Op::FilledRect ? c.args : std::vector<float>())
                        entry += ' ' + QString::number(a);
                    if (c.color)
                        entry += ' ' + c.color->name();
                }
            }
            QStringList order;
            for (const auto &[serial, entry] : bySerial)
                order << entry;
            QCOMPARE(order, expected);
        }
    }

    // A picture area shows its background until its first camera, then the sketch in
    // its colours, the dash-dot cross, the arrow, and circles that stay round.
    void paints()
    {
        PictureBox box(PictureBox::View::Top, QColor(64, 64, 64));
        box.resize(257, 225);
        const auto paint = [&box](const ViewCamera &camera) {
            box.showCamera(camera);
            return box.grab().toImage();
        };
        QCOMPARE(box.grab().toImage().pixelColor(128, 112), QColor(64, 64, 64));
        QImage image = paint({0, 0, 0, 0, 0, 0, 78});
        QCOMPARE(image.pixelColor(10, 10), QColor(64, 64, 64));
        QCOMPARE(image.pixelColor(pixel(1.0, 0.1)), QColor(150, 20, 10)); // the body

        // The cross behind the car on the X axis and left of it on the Y axis, dashed.
        image = paint({-1.4, 1.4, 0, 0, 0, 0, 78});
        int inRow = 0, inColumn = 0;
        for (int i = 0; i < 80; ++i) {
            inRow += i < 40 && image.pixelColor(i, 112) == QColor(210, 210, 210);
            inColumn += image.pixelColor(128, i) == QColor(210, 210, 210);
        }
        QVERIFY(inRow > 20 && inRow < 40 && inColumn > 40 && inColumn < 80);
        // The arrow looks along +X; turned left by 90 degrees, up the screen.
        const QPoint camera = pixel(-1.4, 1.4), right(20, 0), up(0, -20);
        QVERIFY(image.pixelColor(camera + right) == Qt::red);
        QVERIFY(image.pixelColor(camera + up) != Qt::red);
        image = paint({-1.4, 1.4, 0, 90, 0, 0, 78});
        QVERIFY(image.pixelColor(camera + up) == Qt::red);
        QVERIFY(image.pixelColor(camera + right) != Qt::red);

        // In the side view, wider than high, the front hub (radius 0.2 m) is round.
        PictureBox side(PictureBox::View::Side, QColor(128, 128, 128));
        side.resize(257, 225);
        side.showCamera({0, 0, 0, 0, 0, 0, 78});
        image = side.grab().toImage();
        const QPoint hub = pixel(1.5, 0.18);
        const auto ring = [&](QPoint step) {
            int found = 0;
            for (int d = 1; d <= 20; ++d)
                found = image.pixelColor(hub + d * step) == QColor(110, 110, 110) ? d : found;
            return found;
        };
        QVERIFY(std::abs(ring({1, 0}) + ring({-1, 0}) - 0.4 / 3.8 * 257) <= 2);
        QVERIFY(std::abs(ring({0, 1}) + ring({0, -1}) - 0.4 / 3.8 * 257) <= 2);
        QCOMPARE(image.pixelColor(hub), QColor(Qt::black));
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
        // Any button, any modifiers.
        QTest::mousePress(&box, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier,
                          QPoint(0, 1));
        QTest::mousePress(&box, Qt::MiddleButton, Qt::AltModifier, QPoint(256, 224));
        QCOMPARE(spy.count(), 3);
        // Each reports its pixel's centre: exactly 0 on the middle pixel.
        QCOMPARE(spy.at(0), (QVariantList{0.0, 0.0}));
        const auto near = [&spy](int i, double x, double y) {
            return std::abs(spy.at(i).at(0).toDouble() - x) +
                       std::abs(spy.at(i).at(1).toDouble() - y) <
                   1e-6;
        };
        QVERIFY(near(1, -1.9 + 1.9 / 257, 1.9 - 3 * 1.9 / 225));
        QVERIFY(near(2, 1.9 - 1.9 / 257, -1.9 + 1.9 / 225));
        // Moves with the button held and releases report nothing; each of a double
        // click's two presses is reported once.
        QMouseEvent drag(QEvent::MouseMove, QPointF(20, 20), box.mapToGlobal(QPointF(20, 20)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&box, &drag);
        QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(40, 50));
        QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(40, 50));
        QCOMPARE(spy.count(), 5);
        QCOMPARE(spy.at(4), spy.at(3));
    }

    void pressUsesTheLatestCameraNotTheLatestPaint()
    {
        PictureBox box(PictureBox::View::Top, QColor(64, 64, 64));
        box.resize(257, 225);
        box.showCamera({0, 0, 0, 0, 0, 0, 78});
        box.grab();
        box.showCamera({50, 0, 0, 0, 0, 0, 78}); // half-extent 120 m, not painted yet
        QSignalSpy spy(&box, &PictureBox::pressed);
        QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(256, 1));
        const double x = spy.at(0).at(0).toDouble();
        QVERIFY(x > 119 && x < 120);
        QVERIFY(pointedPosition(0, x) > 29800 && pointedPosition(0, x) <= 30000);
    }

    void pointedPositions()
    {
        QCOMPARE(pointedPosition(0, 1.0), 250);
        QCOMPARE(pointedPosition(1, -2.5), -625);
        QCOMPARE(pointedPosition(2, -0.3), -75);
        QCOMPARE(pointedPosition(2, -0.9), -100); // Z stops at -0.4 m
        QCOMPARE(pointedPosition(0, 0.002), 0);   // half a step: to even
        QCOMPARE(pointedPosition(1, -0.006), -2);
        QCOMPARE(pointedPosition(0, 120.01), 30000); // never beyond the slider
        QCOMPARE(pointedPosition(1, -500), -30000);
    }
};

QTEST_MAIN(TestViews)
#include "test_views.moc"
