// The three views: what a redraw draws and in which order.

#include "modgraphingroutines.h"
#include "recordingsurface.h"
#include "slidervalues.h"

#include <QtTest>

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

// The views of a camera at the origin are 2 x 1.9 m wide: shaft, head and field edge.
constexpr double S = 1.9 / 1.5, Hd = 1.9 / 20, E = 1.9 / 2 * M_SQRT1_2;

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

} // namespace

class TestViews : public QObject
{
    Q_OBJECT

private slots:
    // Every bound is strict, and Y alone may reach 60 m short of the widest view.
    // (The call order below draws at 1.9 and 120 m.)
    void halfExtentBoundsAreStrict()
    {
        QCOMPARE(HalfExtentFor(1.5, 0, 0), 3.75);
        QCOMPARE(HalfExtentFor(0, 0, -1.5), 3.75);
        QCOMPARE(HalfExtentFor(0, 50, 0), 60.0);
        QCOMPARE(HalfExtentFor(0, 60, 0), 120.0);
    }

    // Camera line i of a view (C-T, T-E, D-E, D-T, C-R, C-L) for a camera at the
    // origin with the given angles in degrees: yaw turns left, pitch down, bank
    // right, in the order bank, pitch, yaw.
    void arrowAndField_data()
    {
        QTest::addColumn<QList<float>>("angles"); // yaw, pitch, bank, zoom
        QTest::addColumn<int>("view");
        QTest::addColumn<int>("line");
        QTest::addColumn<QLineF>("expected");
        const QList<float> ahead{0, 0, 0, 90}, pitch{0, 90, 0, 78};
        QTest::newRow("ahead: shaft") << ahead << 0 << 0 << QLineF(0, 0, S, 0);
        QTest::newRow("ahead: head") << ahead << 0 << 1 << QLineF(S, 0, S - Hd, -Hd);
        QTest::newRow("ahead: right edge") << ahead << 0 << 4 << QLineF(0, 0, E, -E);
        QTest::newRow("yaw 90: shaft up")
            << QList<float>{90, 0, 0, 78} << 0 << 0 << QLineF(0, 0, 0, S);
        QTest::newRow("pitch 90: side down") << pitch << 1 << 0 << QLineF(0, 0, 0, -S);
        QTest::newRow("pitch 90: top head") << pitch << 0 << 2 << QLineF(0, Hd, 0, -Hd);
        QTest::newRow("bank 90: left edge up")
            << QList<float>{0, 0, 90, 90} << 1 << 5 << QLineF(0, 0, E, E);
        QTest::newRow("yaw 90, pitch 45: front shaft")
            << QList<float>{90, 45, 0, 78} << 2 << 0 << QLineF(0, 0, S / M_SQRT2, -S / M_SQRT2);
    }
    void arrowAndField()
    {
        QFETCH(QList<float>, angles);
        QFETCH(int, view);
        QFETCH(int, line);
        QFETCH(QLineF, expected);
        const Views v = draw(0, 0, 0, angles[0], angles[1], angles[2], angles[3]);
        std::vector<QLineF> lines;
        for (const auto &c : v[view].calls) {
            if (c.op == Op::Line && c.color != QColor(210, 210, 210))
                lines.emplace_back(c.args[0], c.args[1], c.args[2], c.args[3]);
        }
        const QLineF drawn = lines.at(line);
        if (QLineF(drawn.p1(), expected.p1()).length() +
                QLineF(drawn.p2(), expected.p2()).length() >
            1e-5)
            QCOMPARE(drawn, expected);
    }

    // Every call of one redraw across the three views, in order: the user square -h..h
    // with y up and the cross through the origin, the car sketch in metres (the same at
    // any half-extent), then the camera marker at the camera in each view's two axes,
    // the arrow and the two field edges.
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
            const float h = X < 1 ? 1.9f : 120;
            each({"width"});
            each({"clear", QString("scale %1 %2 %2 %1").arg(-h).arg(h), "style 1",
                  QString("line %1 0 %2 0 #d2d2d2").arg(-h).arg(h),
                  QString("line 0 %1 0 %2 #d2d2d2").arg(-h).arg(h)});
            each({"style 0"});
            each({"width"});
            each({"fill"});
            expected += QString(Sketch).split(';');
            const QString r = QString::number(0.02f * h);
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
                    // The camera's lines are the table above.
                    if (c.op != Op::Line || c.color == QColor(210, 210, 210)) {
                        for (float a : c.args)
                            entry += ' ' + QString::number(a);
                    }
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

    // Metres x 250, halves to even, Z held at -0.4 m, never beyond a slider's end.
    void pointedPositions()
    {
        QCOMPARE(pointedPosition(1, -2.5), -625);
        QCOMPARE(pointedPosition(2, -0.3), -75);
        QCOMPARE(pointedPosition(0, 0.002), 0);
        QCOMPARE(pointedPosition(1, -0.006), -2);
        QCOMPARE(pointedPosition(0, 120.01), 30000);
        QCOMPARE(pointedPosition(1, -500), -30000);
    }
};

QTEST_MAIN(TestViews)
#include "test_views.moc"
