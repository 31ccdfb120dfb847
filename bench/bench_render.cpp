// Pictures of a camera's views: the median time to render one camera's three views
// and a sheet of six cameras into images, against the floor of drawing the three
// views once per row on a plain image of the same size; and, apart, the time to
// encode each as PNG. Goal: rendering within 3 x the floor. At large scales a new
// image's memory alone outweighs the drawing; that cost is printed beside it.
// Then the view through a camera's eye at 640 x 480 (smoothed, four samples a pixel),
// also into a kept image as the eye window draws it, beside the views' picture at
// scale 1, against the floor of a new image of that size, its depth buffer and a
// fill. Goals: under 2 ms, within 3 x the floor. That floor is mostly fresh memory's
// first writes (two new buffers of 1.2 MB fault in anew each round here), which the
// picture, drawn in strips, does not pay; so a new image and a fill alone, the same
// fill into kept memory, and a fill with the faces filled over it unhidden are
// printed too, each with its ratio.
#include "camerapicture.h"
#include "drawingsurface.h"
#include "eyecamera.h"
#include "eyepicture.h"
#include "eyescene.h"
#include "median.h"
#include "moddefaultvariablesetup.h"
#include "modgraphingroutines.h"
#include "viewplaces.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The median of `rounds` timed calls, in milliseconds.
double medianMs(int rounds, const std::function<void(int)> &work)
{
    std::vector<double> ns;
    ns.reserve(rounds);
    QElapsedTimer timer;
    for (int i = 0; i < rounds; ++i) {
        timer.start();
        work(i);
        ns.push_back(double(timer.nsecsElapsed()));
    }
    return median(ns) / 1e6;
}

// A sweep over positions (all half-extents) and angles.
ViewCamera sweptCamera(int i)
{
    return {-60 + (i % 241) * 0.5, ((i * 7) % 200 - 100) * 0.3, (i % 97) * 0.05,
            float(i % 361 - 180),  float(i % 181 - 90),         float((i * 3) % 361 - 180),
            float(i % 181)};
}

// The floor: one call of the drawing routines per row, its three surfaces on the
// views' places in one image made beforehand, with nothing else painted.
class Floor
{
public:
    Floor(QSize size, double scale) : m_image(size * scale, QImage::Format_RGB32)
    {
        m_image.setDevicePixelRatio(scale);
        const QRect region = cameraViewsRegion();
        const WindowLayout::Place places[3] = {
            MainWindowPlaces::Picture1, MainWindowPlaces::Picture2, MainWindowPlaces::Picture3};
        for (int v = 0; v < 3; ++v) {
            const QRect place = WindowLayout::place(places[v]).translated(-region.topLeft());
            m_places[v] = QRect(place.topLeft() * scale, place.size() * scale);
        }
        m_scale = scale;
    }

    QSize size() const { return m_image.size(); }

    void draw(int row, const ViewCamera &c)
    {
        const QColor backgrounds[3] = {ViewColours::Picture1Background,
                                       ViewColours::Picture2Background,
                                       ViewColours::Picture3Background};
        // Each view a window onto the one image's pixels.
        QImage views[3];
        for (int v = 0; v < 3; ++v) {
            const QRect r = m_places[v].translated(0, int(row * SheetRowHeight * m_scale));
            views[v] = QImage(m_image.bits() + r.y() * m_image.bytesPerLine() + r.x() * 4,
                              r.width(), r.height(), m_image.bytesPerLine(), m_image.format());
            views[v].setDevicePixelRatio(m_scale);
        }
        QPainter p0(&views[0]), p1(&views[1]), p2(&views[2]);
        const auto size = [](const QImage &image) {
            return (QSizeF(image.size()) / image.devicePixelRatio()).toSize();
        };
        PainterSurface s0(p0, size(views[0]), backgrounds[0], ViewColours::WindowText);
        PainterSurface s1(p1, size(views[1]), backgrounds[1], ViewColours::WindowText);
        PainterSurface s2(p2, size(views[2]), backgrounds[2], ViewColours::WindowText);
        modGraphingRoutines::DrawCameraViews(s0, s1, s2, c.X, c.Y, c.Z, c.Yaw1, c.Pitch1, c.Bank,
                                             c.Zoom);
    }

private:
    QImage m_image;
    QRect m_places[3];
    double m_scale = 1;
};

// What a new image costs before anything is drawn: its memory, written once; and
// the ratio to the floor with that cost added.
void printWithNewImage(int rounds, QSize pixels, double render, double floor)
{
    const double newImage = medianMs(rounds, [&](int) {
        QImage image(pixels, QImage::Format_RGB32);
        image.fill(0);
    });
    std::printf("    a new image of %d x %d pixels, filled once: %.3f ms; ratio to the floor "
                "with it %.2f\n",
                pixels.width(), pixels.height(), newImage, render / (floor + newImage));
}

double pngMs(int rounds, const QImage &image)
{
    return medianMs(rounds, [&](int) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    });
}

void benchEyeView(const DefaultTable &defaults)
{
    constexpr int rounds = 2000;
    // The six cameras of the seven makes in turn, as the editor shows them.
    const auto camera = [&](int i) {
        return viewCameraForRecord(defaults.DefaultCameras(i % CarTypeCount)[i / 7 % 6]);
    };
    const double eye = medianMs(rounds, [&](int i) { renderEyeView(camera(i)); });
    // The eye window keeps its image from one frame to the next.
    QImage kept(EyePictureSize, QImage::Format_RGB32);
    const double keptEye = medianMs(rounds, [&](int i) { paintEyeView(kept, camera(i)); });
    const double views = medianMs(rounds, [&](int i) { renderCameraViews(camera(i), 1); });

    // The floor as the goal words it: a new image, a depth buffer of its size, a fill.
    const auto pixelCount = std::size_t(EyePictureSize.width()) * EyePictureSize.height();
    const double floor = medianMs(rounds, [&](int) {
        QImage fresh(EyePictureSize, QImage::Format_RGB32);
        fresh.fill(EyeScene::Sky);
        std::vector<float> depth(pixelCount, 0.0f);
    });
    // What renderEyeView itself pays before drawing: a new image, filled.
    const double newImage = medianMs(rounds, [&](int) {
        QImage fresh(EyePictureSize, QImage::Format_RGB32);
        fresh.fill(EyeScene::Sky);
    });
    QImage image(EyePictureSize, QImage::Format_RGB32);
    std::vector<float> keptDepth(pixelCount);
    const double keptFloor = medianMs(rounds, [&](int) {
        image.fill(EyeScene::Sky);
        std::fill(keptDepth.begin(), keptDepth.end(), 0.0f);
    });
    std::vector<QPointF> points;
    double faces = 0;
    const double unhidden = medianMs(rounds, [&](int i) {
        image.fill(EyeScene::Sky);
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        const EyeProjection projection(camera(i), EyePictureSize);
        for (const EyeScene::Face &face : EyeScene::sketchCar()) {
            if (faceImage(projection, face, &points)) {
                painter.setBrush(QColor(face.colour));
                painter.drawPolygon(points.data(), int(points.size()));
                faces += 1;
            }
        }
    });
    std::printf("eye view, 640 x 480, scale 1 (%zu faces, %.0f drawn on average)\n",
                EyeScene::sketchCar().size(), faces / rounds);
    std::printf("  one camera: %8.3f ms (goal under 2 ms); the views' picture %.3f ms\n", eye,
                views);
    std::printf("  one camera into a kept image, as the eye window draws: %.3f ms\n", keptEye);
    std::printf("  floor (a new image, its depth buffer and a fill) %.3f ms, ratio %.2f (goal "
                "within 3 x)\n",
                floor, eye / floor);
    std::printf("    a new image and a fill alone %.3f ms (ratio %.1f); the fill and the depths "
                "into kept memory %.3f ms (ratio %.1f); a fill with the faces filled over it "
                "unhidden, one sample a pixel, %.3f ms (ratio %.1f)\n",
                newImage, eye / newImage, keptFloor, keptEye / keptFloor, unhidden,
                keptEye / unhidden);
    const double sheet = medianMs(rounds / 10, [&](int i) {
        renderEyeSheet(defaults.DefaultCameras(i % CarTypeCount), EyePictureSize, 1);
    });
    std::printf("  sheet of six: %.3f ms\n", sheet);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    const auto defaults = SetupDefaults();
    const QSize views = cameraViewsRegion().size();
    benchEyeView(defaults);

    for (const double scale : {1.0, 2.0, 8.0}) {
        const int rounds = scale < 2 ? 2000 : scale < 8 ? 500 : 20;
        std::printf("scale %g\n", scale);

        Floor one(views, scale);
        const double floorOne = medianMs(rounds, [&](int i) { one.draw(0, sweptCamera(i)); });
        const double camera =
            medianMs(rounds, [&](int i) { renderCameraViews(sweptCamera(i), scale); });
        std::printf("  one camera: %8.3f ms, floor %8.3f ms, ratio %.2f (goal within 3 x)\n",
                    camera, floorOne, camera / floorOne);
        printWithNewImage(rounds, views * scale, camera, floorOne);

        const int sheetRounds = std::max(5, rounds / 6);
        Floor six(QSize(views.width(), CameraCount * SheetRowHeight), scale);
        const auto cameras = [&](int i) { return defaults.DefaultCameras(i % 7); };
        const double floorSix = medianMs(sheetRounds, [&](int i) {
            const CameraSet set = cameras(i);
            for (int k = 0; k < CameraCount; ++k)
                six.draw(k, viewCameraForRecord(set[k]));
        });
        const double sheet =
            medianMs(sheetRounds, [&](int i) { renderCameraSheet(cameras(i), scale); });
        std::printf("  sheet:      %8.3f ms, floor %8.3f ms, ratio %.2f (goal within 3 x)\n", sheet,
                    floorSix, sheet / floorSix);
        printWithNewImage(sheetRounds, six.size(), sheet, floorSix);

        const int pngRounds = std::max(5, rounds / 20);
        std::printf("  PNG encoding: one camera %.3f ms, sheet %.3f ms\n",
                    pngMs(pngRounds, renderCameraViews(sweptCamera(1), scale)),
                    pngMs(pngRounds, renderCameraSheet(cameras(5), scale)));
    }
    return 0;
}
