// Drag benchmark: the main window offscreen, the Zoom and X sliders moved position
// by position the way a dragged thumb moves them, every change painted before the
// next. Prints changes per second and the median cost of one change with its repaint;
// then the Zoom drag again with the camera's eye window open at 640 x 480.

#include "frmcarcamera.h"
#include "median.h"
#include "settingsstore.h"
#include "userdialogs.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScrollBar>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The start-up run of the new-file command asks nothing, and a drag asks nothing.
class NoDialogs : public UserDialogs
{
public:
    Answer message(const QString &, const QString &, Buttons) override { return Answer::Ok; }
    QString inputBox(const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    FileResult fileDialog(const FileRequest &) override { return {CancelError, QString()}; }
    std::optional<int> selectCarType() override { return 0; }
};

class NoSettings : public SettingsStore
{
public:
    QString read(const QString &, const QString &, const QString &defaultValue) const override
    {
        return defaultValue;
    }
    void write(const QString &, const QString &, const QString &) override {}
};

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct Result
{
    double changesPerSecond = 0;
    double medianMicroseconds = 0;
    double p90Microseconds = 0;
    int paints = 0;
};

// Drags slider `bar` through `count` successive positions from `start` upwards.
Result drag(QScrollBar *bar, int start, int count, PaintCounter &counter)
{
    bar->setSliderDown(true); // the thumb is held
    QCoreApplication::processEvents();
    const int paintsBefore = counter.paints;

    std::vector<double> costs; // microseconds
    costs.reserve(static_cast<std::size_t>(count));
    QElapsedTimer total;
    total.start();
    QElapsedTimer one;
    for (int k = 0; k < count; ++k) {
        one.start();
        // What the scroll bar does for each mouse move of a dragged thumb: with
        // tracking on, the new position is the new value at once.
        bar->setSliderPosition(start + k + 1);
        // Handle the update request the change posted: the views are painted now.
        QCoreApplication::processEvents();
        costs.push_back(static_cast<double>(one.nsecsElapsed()) / 1e3);
    }
    const qint64 elapsed = total.nsecsElapsed();
    bar->setSliderDown(false);
    QCoreApplication::processEvents();

    Result result;
    result.changesPerSecond = count / (static_cast<double>(elapsed) / 1e9);
    result.medianMicroseconds = median(costs);
    std::sort(costs.begin(), costs.end());
    result.p90Microseconds = costs[costs.size() * 9 / 10];
    result.paints = counter.paints - paintsBefore;
    return result;
}

void print(const char *name, int count, const Result &r)
{
    std::printf("%-5s %d changes: %.0f changes/s, median %.1f us per change with its repaint "
                "(90th percentile %.1f us), %d paints of the side view\n",
                name, count, r.changesPerSecond, r.medianMicroseconds, r.p90Microseconds, r.paints);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrel"));

    NoDialogs dialogs;
    NoSettings settings;
    frmCarCamera window(&dialogs, &settings);
    window.show();
    QElapsedTimer wait;
    wait.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && wait.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();

    PaintCounter counter;
    window.findChild<QWidget *>(QStringLiteral("Picture2"))->installEventFilter(&counter);

    constexpr int Changes = 10000;
    auto *zoom = window.findChild<QScrollBar *>(QStringLiteral("HScrollCam(6)"));
    auto *x = window.findChild<QScrollBar *>(QStringLiteral("HScrollCam(0)"));
    if (!zoom || !x) {
        std::fprintf(stderr, "sliders not found\n");
        return 1;
    }

    // Zoom from 40 to 140 degrees; X from -20 m to 20 m, through five view scales.
    zoom->setValue(4000);
    x->setValue(-5000);
    QCoreApplication::processEvents();
    const Result zoomResult = drag(zoom, 4000, Changes, counter);
    const Result xResult = drag(x, -5000, Changes, counter);

    print("Zoom", Changes, zoomResult);
    print("X", Changes, xResult);
    const bool painted = zoomResult.paints >= Changes && xResult.paints >= Changes;
    std::printf("every change painted: %s; target 5000 changes/s: %s\n", painted ? "yes" : "NO",
                std::min(zoomResult.changesPerSecond, xResult.changesPerSecond) >= 5000
                    ? "met"
                    : "NOT met");

    // The same drag with the camera's eye window open at 640 x 480: each change paints
    // the three views and the eye's picture.
    auto *eyeItem = window.findChild<QAction *>(QStringLiteral("mnuViewCameraEye"));
    auto *eye = window.findChild<QWidget *>(QStringLiteral("frmCameraEye"));
    auto *eyePicture = window.findChild<QWidget *>(QStringLiteral("picCameraEye"));
    if (!eyeItem || !eye || !eyePicture) {
        std::fprintf(stderr, "camera's eye window not found\n");
        return 1;
    }
    eyeItem->trigger();
    eye->resize(640, 480);
    wait.restart();
    while (!(eye->windowHandle() && eye->windowHandle()->isExposed()) && wait.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    PaintCounter eyeCounter;
    eyePicture->installEventFilter(&eyeCounter);
    constexpr int EyeChanges = 2000;
    zoom->setValue(4000);
    QCoreApplication::processEvents();
    const int eyePaintsBefore = eyeCounter.paints;
    const Result eyeResult = drag(zoom, 4000, EyeChanges, counter);
    const int eyePaints = eyeCounter.paints - eyePaintsBefore;
    std::printf("Zoom with the camera's eye open (%d x %d): %.0f frames/s, median %.1f us per "
                "frame (90th percentile %.1f us), %d paints of the side view, %d of the eye\n",
                eyePicture->width(), eyePicture->height(), eyeResult.changesPerSecond,
                eyeResult.medianMicroseconds, eyeResult.p90Microseconds, eyeResult.paints,
                eyePaints);
    const bool eyePainted = eyeResult.paints >= EyeChanges && eyePaints >= EyeChanges;
    std::printf("every change painted: %s; target 240 frames/s: %s\n", eyePainted ? "yes" : "NO",
                eyeResult.changesPerSecond >= 240 ? "met" : "NOT met");
    return painted && eyePainted ? 0 : 1;
}
