// Redrawing the three views: the median cost of one full redraw into images of
// the views' sizes through the real QPainter surface, against merely clearing them.
#include "drawingsurface.h"
#include "median.h"
#include "modgraphingroutines.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    QImage images[3] = {QImage(257, 225, QImage::Format_ARGB32_Premultiplied),
                        QImage(257, 225, QImage::Format_ARGB32_Premultiplied),
                        QImage(249, 225, QImage::Format_ARGB32_Premultiplied)};
    const QColor backgrounds[3] = {QColor(64, 64, 64), QColor(128, 128, 128),
                                   QColor(128, 128, 128)};
    const int rounds = 20000;

    std::vector<double> drawNs, clearNs;
    drawNs.reserve(rounds);
    clearNs.reserve(rounds);
    QElapsedTimer timer;
    for (int i = 0; i < rounds; ++i) {
        // A sweep over positions (all half-extents) and angles.
        const double x = -60 + (i % 241) * 0.5, y = ((i * 7) % 200 - 100) * 0.3,
                     z = (i % 97) * 0.05;
        const float yaw = float(i % 361 - 180), pitch = float(i % 181 - 90),
                    bank = float((i * 3) % 361 - 180), zoom = float(i % 181);

        timer.start();
        {
            QPainter p0(&images[0]), p1(&images[1]), p2(&images[2]);
            PainterSurface s0(p0, images[0].size(), backgrounds[0], Qt::black);
            PainterSurface s1(p1, images[1].size(), backgrounds[1], Qt::black);
            PainterSurface s2(p2, images[2].size(), backgrounds[2], Qt::black);
            modGraphingRoutines::DrawCameraViews(s0, s1, s2, x, y, z, yaw, pitch, bank, zoom);
        }
        drawNs.push_back(double(timer.nsecsElapsed()));

        timer.start();
        {
            QPainter p0(&images[0]), p1(&images[1]), p2(&images[2]);
            p0.fillRect(images[0].rect(), backgrounds[0]);
            p1.fillRect(images[1].rect(), backgrounds[1]);
            p2.fillRect(images[2].rect(), backgrounds[2]);
        }
        clearNs.push_back(double(timer.nsecsElapsed()));
    }
    const double draw = median(drawNs) / 1e6, clear = median(clearNs) / 1e6;
    std::printf("three-view redraw, median of %d: %.4f ms\n", rounds, draw);
    std::printf("clearing the same three images:  %.4f ms\n", clear);
    std::printf("ratio redraw / clear:            %.2f (targets: redraw < 0.2 ms, ratio < 10)\n",
                draw / clear);
    return 0;
}
