#include "modgraphingroutines.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

using Op = RecordingSurface::Op;
using namespace modGraphingRoutines;

namespace {

struct Views
{
    RecordingSurface top, side, front;
};

Views draw(double X, double Y, double Z, float yaw, float pitch, float bank, float zoom)
{
    Views v;
    DrawCameraViews(v.top, v.side, v.front, X, Y, Z, yaw, pitch, bank, zoom);
    return v;
}

// The camera's lines as drawn in one view: C-T, T-E, D-E, D-T, C-R, C-L.
std::vector<RecordingSurface::Call> cameraLines(const RecordingSurface &s)
{
    std::vector<RecordingSurface::Call> lines;
    for (const auto &c : s.calls) {
        if (c.op == Op::Line && c.color != QColor(210, 210, 210))
            lines.push_back(c);
    }
    return lines;
}

bool near(float a, double b)
{
    return std::abs(double(a) - b) < 1e-5;
}

#define QVERIFY_SEGMENT(call, x1, y1, x2, y2)                                                      \
    QVERIFY2(near((call).args[0], x1) && near((call).args[1], y1) && near((call).args[2], x2) &&   \
                 near((call).args[3], y2),                                                         \
             qPrintable(QStringLiteral("segment (%1,%2)-(%3,%4)")                                  \
                            .arg((call).args[0])                                                   \
                            .arg((call).args[1])                                                   \
                            .arg((call).args[2])                                                   \
                            .arg((call).args[3])))

} // namespace

class TestDrawing : public QObject
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
        QTest::newRow("X 2.999") << 2.999 << 0.0 << 0.0 << 3.75;
        QTest::newRow("Y 3") << 0.0 << 3.0 << 0.0 << 7.5;
        QTest::newRow("X 12") << 12.0 << 0.0 << 0.0 << 30.0;
        QTest::newRow("X 50") << 50.0 << 0.0 << 0.0 << 120.0;
        QTest::newRow("Y 50") << 0.0 << 50.0 << 0.0 << 60.0;
        QTest::newRow("Y 60") << 0.0 << 60.0 << 0.0 << 120.0;
        QTest::newRow("Z 48") << 0.0 << 0.0 << 48.0 << 120.0;
        QTest::newRow("edge 120") << -120.0 << 120.0 << 120.0 << 120.0;
    }
    void halfExtentBoundsAreStrict()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, z);
        QFETCH(double, h);
        QCOMPARE(HalfExtentFor(x, y, z), h);
        Views v = draw(x, y, z, 0, 0, 0, 78);
        QCOMPARE(ViewHalfExtent(), h);
        // The user square of every view is -h..h, y up.
        for (const RecordingSurface *s : {&v.top, &v.side, &v.front}) {
            const auto &scale = s->calls[2];
            QCOMPARE(scale.op, Op::UserScale);
            QCOMPARE(scale.args, (std::vector<float>{float(-h), float(h), float(h), float(-h)}));
        }
    }

    void straightAheadArrowAndFieldInTopView()
    {
        Views v = draw(0, 0, 0, 0, 0, 0, 90);
        const double h = 1.9;
        const auto lines = cameraLines(v.top);
        QCOMPARE(lines.size(), size_t(6));
        QVERIFY_SEGMENT(lines[0], 0, 0, h / 1.5, 0);                      // shaft
        QVERIFY_SEGMENT(lines[1], h / 1.5, 0, h / 1.5 - h / 20, -h / 20); // T-E
        const double e = h / 2 * std::cos(M_PI / 4);
        QVERIFY_SEGMENT(lines[4], 0, 0, e, -e); // right field edge
        QVERIFY_SEGMENT(lines[5], 0, 0, e, e);  // left field edge
        QCOMPARE(lines[4].color, QColor(0, 200, 200));
        QCOMPARE(lines[5].color, QColor(200, 200, 0));
        QCOMPARE(lines[0].color, QColor(255, 0, 0));
    }

    void yawNinetyPointsUpInTopView()
    {
        const double h = 1.9;
        Views v = draw(0, 0, 0, 90, 0, 0, 78);
        const auto lines = cameraLines(v.top);
        QVERIFY_SEGMENT(lines[0], 0, 0, 0, h / 1.5);
        // Facing up the screen, the head's right corner lies to the right.
        QVERIFY_SEGMENT(lines[1], 0, h / 1.5, h / 20, h / 1.5 - h / 20);
        QVERIFY_SEGMENT(lines[2], -h / 20, h / 1.5 - h / 20, h / 20, h / 1.5 - h / 20);
    }

    void pitchNinetyPointsDown()
    {
        const double h = 1.9;
        Views v = draw(0, 0, 0, 0, 90, 0, 78);
        QVERIFY_SEGMENT(cameraLines(v.side)[0], 0, 0, 0, -h / 1.5);
        QVERIFY_SEGMENT(cameraLines(v.front)[0], 0, 0, 0, -h / 1.5);
        // Top view: the shaft vanishes, the head is a segment h/10 long along Y.
        const auto top = cameraLines(v.top);
        QVERIFY_SEGMENT(top[0], 0, 0, 0, 0);
        QVERIFY_SEGMENT(top[2], 0, h / 20, 0, -h / 20);
    }

    void bankNinetyOpensTheFieldUpAndDown()
    {
        const double h = 1.9;
        Views v = draw(0, 0, 0, 0, 0, 90, 90);
        const double e = h / 2 * std::cos(M_PI / 4);
        const auto side = cameraLines(v.side);
        QVERIFY_SEGMENT(side[0], 0, 0, h / 1.5, 0); // shaft unchanged
        QVERIFY_SEGMENT(side[5], 0, 0, e, e);       // left edge opens upward
        QVERIFY_SEGMENT(side[4], 0, 0, e, -e);
        const auto top = cameraLines(v.top);
        QVERIFY_SEGMENT(top[5], 0, 0, e, 0); // collapsed onto the shaft
    }

    void zoomExtremes()
    {
        const double h = 1.9;
        auto z0 = cameraLines(draw(0, 0, 0, 0, 0, 0, 0).top);
        QVERIFY_SEGMENT(z0[4], 0, 0, h / 2, 0);
        QVERIFY_SEGMENT(z0[5], 0, 0, h / 2, 0);
        auto z180 = cameraLines(draw(0, 0, 0, 0, 0, 0, 180).top);
        QVERIFY_SEGMENT(z180[4], 0, 0, 0, -h / 2);
        QVERIFY_SEGMENT(z180[5], 0, 0, 0, h / 2);
    }

    void cameraFollowsPositionInEachView()
    {
        Views v = draw(2.324, 0.204, 0.084, 0, 0, 0, 78);
        auto marker = [](const RecordingSurface &s) {
            for (auto it = s.calls.rbegin(); it != s.calls.rend(); ++it) {
                if (it->op == Op::Circle)
                    return *it;
            }
            return RecordingSurface::Call{};
        };
        QCOMPARE(marker(v.top).args, (std::vector<float>{2.324f, 0.204f, float(0.02 * 3.75)}));
        QCOMPARE(marker(v.side).args, (std::vector<float>{2.324f, 0.084f, float(0.02 * 3.75)}));
        QCOMPARE(marker(v.front).args, (std::vector<float>{0.204f, 0.084f, float(0.02 * 3.75)}));
        QCOMPARE(marker(v.top).color, QColor(255, 0, 0));
    }

    void sketchShapesAndOrder()
    {
        Views v = draw(0, 0, 0, 0, 0, 0, 78);
        auto shapes = [](const RecordingSurface &s) {
            QStringList out;
            for (const auto &c : s.calls) {
                if (c.op == Op::FilledRect || c.op == Op::OutlinedRect ||
                    (c.op == Op::Circle && c.color != QColor(255, 0, 0))) {
                    QString line = c.op == Op::FilledRect     ? QStringLiteral("F")
                                   : c.op == Op::OutlinedRect ? QStringLiteral("O")
                                                              : QStringLiteral("C");
                    for (float a : c.args)
                        line += QLatin1Char(' ') + QString::number(a);
                    if (c.color)
                        line += QLatin1Char(' ') + c.color->name();
                    out << line;
                }
            }
            return out;
        };
        QCOMPARE(shapes(v.top), (QStringList{
                                    "F -1 -0.6 -0.9 0.6",
                                    "F 1.4 0.6 1.6 -0.6 #ffffff",
                                    "O 1.15 0.85 1.85 0.6",
                                    "O 1.15 -0.6 1.85 -0.85",
                                    "F -1.25 0.3 2.4 -0.3 #96140a",
                                    "F -1.15 0.25 -0.3 -0.25 #736e6e",
                                    "F -1.7 0.35 -0.3 0.25 #aaaaaa",
                                    "F -1.7 -0.25 -0.3 -0.35 #aaaaaa",
                                    "F -0.11 0.2 0.3 -0.2 #aa4646",
                                    "C -0.1 0 0.13 #000050",
                                    "O -1.3 0.9 -0.6 0.5",
                                    "O -1.3 -0.5 -0.6 -0.9",
                                }));
        QCOMPARE(shapes(v.side), (QStringList{
                                     "F -1.25 0.3 2.4 0 #96140a",
                                     "F -1.7 0.3 -0.3 0.25 #aaaaaa",
                                     "C -0.95 0.18 0.35 #000000",
                                     "C 1.5 0.18 0.35 #000000",
                                     "C -0.95 0.18 0.2 #6e6e6e",
                                     "C 1.5 0.18 0.2 #6e6e6e",
                                     "C -0.1 0.47 0.13 #000050",
                                 }));
        QCOMPARE(shapes(v.front), (QStringList{
                                      "O 0.6 0.5 0.85 -0.16",
                                      "O -0.85 0.5 -0.6 -0.16",
                                      "C 0 0.47 0.13 #000050",
                                      "F -0.3 0.3 0.3 0 #96140a",
                                  }));
        // The sketch keeps its size in metres at any half-extent.
        Views far = draw(50, 0, 0, 0, 0, 0, 78);
        QCOMPARE(shapes(far.front), shapes(v.front));
    }

    void eachViewStartsWithItsCrossAndEndsSolid()
    {
        Views v = draw(0.5, 0.5, 0.5, 10, 20, 30, 78);
        const auto &c = v.side.calls;
        QCOMPARE(c[0].op, Op::PenWidth);
        QCOMPARE(c[1].op, Op::Clear);
        QCOMPARE(c[2].op, Op::UserScale);
        QCOMPARE(c[3].op, Op::PenStyle);
        QCOMPARE(c[3].value, int(DrawingSurface::PenStyle::DashDot));
        QCOMPARE(c[4].op, Op::Line);
        QCOMPARE(c[4].args, (std::vector<float>{-1.9f, 0, 1.9f, 0}));
        QCOMPARE(c[5].args, (std::vector<float>{0, -1.9f, 0, 1.9f}));
        QCOMPARE(c[4].color, QColor(210, 210, 210));
        QCOMPARE(c[6].op, Op::PenStyle);
        QCOMPARE(c[6].value, int(DrawingSurface::PenStyle::Solid));
        QCOMPARE(c[8].op, Op::FillSolid);
        // Seven camera shapes close every view: marker and six lines.
        QCOMPARE(c[c.size() - 7].op, Op::Circle);
        QCOMPARE(cameraLines(v.front).size(), size_t(6));
    }

    // The order of the calls across the three views, as one redraw makes them.
    void callOrderAcrossViews()
    {
        Views v = draw(0.3, -0.2, 0.1, 15, 5, 0, 78);
        std::vector<std::pair<QString, const RecordingSurface::Call *>> all;
        const std::pair<QString, const RecordingSurface *> views[] = {
            {QStringLiteral("top"), &v.top},
            {QStringLiteral("side"), &v.side},
            {QStringLiteral("front"), &v.front}};
        for (const auto &[name, surface] : views) {
            for (const auto &c : surface->calls)
                all.emplace_back(name, &c);
        }
        std::sort(all.begin(), all.end(),
                  [](const auto &a, const auto &b) { return a.second->serial < b.second->serial; });
        QStringList order;
        for (const auto &[name, c] : all) {
            static const char *const names[] = {"scale", "clear", "width", "style", "fill",
                                                "line",  "rect",  "box",   "circle"};
            QString entry = name + QLatin1Char(' ') + QLatin1String(names[int(c->op)]);
            if (c->op == Op::Line || c->op == Op::Circle)
                entry += QLatin1Char(' ') + c->color->name();
            order << entry;
        }

        QStringList expected;
        const QStringList viewNames{"top", "side", "front"};
        for (const QString &view : viewNames)
            expected << view + " width";
        for (const QString &view : viewNames)
            expected << view + " clear" << view + " scale" << view + " style"
                     << view + " line #d2d2d2" << view + " line #d2d2d2";
        for (const QString &view : viewNames)
            expected << view + " style";
        for (const QString &view : viewNames)
            expected << view + " width";
        for (const QString &view : viewNames)
            expected << view + " fill";
        expected << "top width";
        expected << "top rect"
                 << "top rect"
                 << "top box"
                 << "top box"
                 << "top rect"
                 << "top rect"
                 << "top rect"
                 << "top rect"
                 << "top rect"
                 << "top circle #000050"
                 << "top box"
                 << "top box";
        expected << "side rect"
                 << "side rect"
                 << "side circle #000000"
                 << "side circle #000000"
                 << "side circle #6e6e6e"
                 << "side circle #6e6e6e"
                 << "side circle #000050";
        expected << "front box"
                 << "front box"
                 << "front circle #000050"
                 << "front rect";
        for (const QString &view : viewNames)
            expected << view + " circle #ff0000";
        for (int pair = 0; pair < 2; ++pair) {
            for (const QString &view : viewNames)
                expected << view + " line #ff0000" << view + " line #ff0000";
        }
        for (const QString &view : viewNames)
            expected << view + " line #00c8c8" << view + " line #c8c800";
        QCOMPARE(order, expected);
    }
};

QTEST_GUILESS_MAIN(TestDrawing)
#include "test_drawing.moc"
