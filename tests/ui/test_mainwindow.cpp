// The main window: every control at its place with its caption and tool tip, the
// menus, the focus order, and the common road from a loaded file to a saved one.

#include "mainwindow.h"
#include "modcameramath.h"
#include "slidervalues.h"

#include <QMenu>
#include <QMenuBar>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QWindow>

#include <limits>

namespace {

// Places in 1/1440 inch; the container is the client area (c), the camera selector
// (s) or the editor frame (e). Captions as after start-up.
struct Place
{
    const char *name;
    char in;
    int left, top, width, height;
    const char *caption;
};
const Place places[] = {
    {"CameraSelectorFrame", 'c', 120, 0, 2055, 3975, "Camera Selector"},
    {"Cameditframe", 'c', 2280, 0, 9495, 3975, "Nose Camera"},
    {"lblfile1", 'c', 120, 4080, 5175, 315, "brabham.cam"},
    {"cmdLoadCCamFile", 'c', 6120, 4080, 1815, 255, "Load Car Camera File"},
    {"cmdsaveCameraFile", 'c', 8040, 4080, 1815, 255, "Save Camera File As"},
    {"cmdMakeCamFile", 'c', 9960, 4080, 1815, 255, "Create New Cam File"},
    {"Picture1", 'c', 120, 4440, 3855, 3375, nullptr},
    {"Picture2", 'c', 4080, 4440, 3855, 3375, nullptr},
    {"Picture3", 'c', 8040, 4440, 3735, 3375, nullptr},
    {"OptCameraNumber(0)", 's', 240, 360, 1575, 375, "Nose"},
    {"OptCameraNumber(1)", 's', 240, 720, 1575, 375, "Gear Box"},
    {"OptCameraNumber(2)", 's', 240, 1080, 1695, 375, "Zepplin/Shoulder *"},
    {"OptCameraNumber(3)", 's', 240, 1440, 1455, 375, "Roll Bar"},
    {"OptCameraNumber(4)", 's', 240, 1800, 1575, 375, "Front Suspension"},
    {"OptCameraNumber(5)", 's', 240, 2160, 1695, 375, "Rear Suspension"},
    {"Label1", 's', 120, 2520, 1815, 735, "*  Zeppelin/Shoulder view not visible during replays."},
    {"Label5", 'e', 120, 600, 615, 255, "<- Rear"},
    {"Label23", 'e', 3840, 600, 615, 255, "Front->"},
    {"Label24", 'e', 60, 1200, 675, 255, "<- Right"},
    {"Label25", 'e', 3840, 1200, 615, 195, "Left ->"},
    {"Label26", 'e', 120, 1800, 615, 195, "<- Down"},
    {"Label27", 'e', 3840, 1800, 555, 195, "Up ->"},
    {"Label28", 'e', 60, 2400, 675, 255, "<- Right"},
    {"Label29", 'e', 3840, 2400, 615, 195, "Left ->"},
    {"Label31", 'e', 120, 3000, 555, 195, "<- Up"},
    {"Label30", 'e', 3840, 3000, 735, 195, "Down ->"},
    {"Label33", 'e', 120, 3540, 555, 255, "<- Left"},
    {"Label32", 'e', 3840, 3540, 1035, 195, "Right ->"},
    {"Label34", 'e', 4920, 1320, 615, 195, "<- Zoom"},
    {"Label35", 'e', 8760, 1320, 555, 255, "Wide ->"},
    {"Label21", 'e', 5100, 2820, 4335, 555, "Kestrel Editor"},
    {"cmdCopyCam", 'e', 5220, 3600, 735, 255, "Copy"},
    {"cmdPaste", 'e', 6000, 3600, 735, 255, "Paste"},
    {"cmdEditCancel", 'e', 7500, 3600, 855, 255, "Cancel"},
    {"cmdeditApply", 'e', 8460, 3600, 855, 255, "Apply"},
};

// The nine value rows of the editor frame: row label, value display (795 x 255), unit
// label and slider (3015 x 135).
struct Row
{
    const char *label, *caption;
    int left, top, width, valueLeft, valueTop;
    const char *unit;
    int unitLeft, unitTop, sliderLeft, sliderTop;
};
const Row rows[] = {
    {"Label2", "X", 540, 360, 135, 780, 360, "Label12", 1680, 360, 780, 660},
    {"Label3", "Y", 540, 960, 135, 780, 942, "Label13", 1680, 960, 780, 1260},
    {"Label4", "Z", 540, 1560, 135, 780, 1524, "Label14", 1680, 1560, 780, 1845},
    {"Label6", "Yaw", 240, 2160, 495, 780, 2106, "Label15", 1680, 2100, 780, 2430},
    {"Label7", "Pitch", 240, 2760, 495, 780, 2688, "Label16", 1680, 2700, 780, 3015},
    {"Label8", "Bank", 240, 3300, 615, 780, 3210, "Label17", 1680, 3240, 780, 3540},
    {"Label9", "Zoom Angle", 4560, 1080, 1095, 5700, 1080, "Label18", 6540, 1080, 5700, 1380},
    {"Label10", "Unknown 1", 4620, 1680, 1035, 5700, 1665, "Label19", 6540, 1680, 5700, 1980},
    {"Label11", "Unknown 2", 4620, 2220, 975, 5700, 2250, "Label20", 6540, 2280, 5700, 2565},
};

const QMap<QString, QString> toolTips = {
    {"cmdLoadCCamFile", "Load existing camera file."},
    {"cmdsaveCameraFile", "Save current camera edits."},
    {"cmdMakeCamFile", "Create a new car cam.  toggle through car types"},
    {"Label21", "Written by the Kestrel developers"},
    {"cmdCopyCam", "Copy the currently active camera to copy buffer"},
    {"cmdPaste", "Pastes copy buffer into currently selected camera position"},
    {"cmdEditCancel", "Cancels movements of sliders, does not cancel paste."},
    {"cmdeditApply", "Apply edits, enables Save camera"},
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void everyControlAtItsPlace()
    {
        MainWindow m;
        QCOMPARE(m.window->windowHandle()->title(), "brabham.cam - Kestrel File Editor");
        QCOMPARE(m.window->centralWidget()->size(), QSize(792, 535));
        // A file name is shown as written, even one that looks like markup.
        QCOMPARE(m.get<QLabel>("lblfile1")->textFormat(), Qt::PlainText);
        const auto check = [&](const QString &name, char in, int left, int top, int width,
                               int height, const char *caption) {
            QWidget *w = m.get(name);
            QWidget *container = in == 'c'   ? m.window->centralWidget()
                                 : in == 's' ? m.get("CameraSelectorFrame")
                                             : m.get("Cameditframe");
            const QRect place(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0),
                              qRound(height / 15.0));
            QVERIFY2(w->parentWidget() == container && w->geometry() == place, qPrintable(name));
            if (caption)
                QCOMPARE(w->property(qobject_cast<QGroupBox *>(w) ? "title" : "text").toString(),
                         caption);
            QCOMPARE(w->toolTip(), toolTips.value(name));
        };
        for (const Place &p : places)
            check(p.name, p.in, p.left, p.top, p.width, p.height, p.caption);
        QStringList ranges;
        for (int i = 0; i < SliderCount; ++i) {
            const Row &r = rows[i];
            check(r.label, 'e', r.left, r.top, r.width, 255, r.caption);
            check(QString("lblCameraValues(%1)").arg(i), 'e', r.valueLeft, r.valueTop, 795, 255,
                  nullptr);
            check(r.unit, 'e', r.unitLeft, r.unitTop, i < 3 ? 735 : 975, i < 3 ? 255 : 195,
                  i < 3 ? "Meters" : "Degrees");
            check(QString("HScrollCam(%1)").arg(i), 'e', r.sliderLeft, r.sliderTop, 3015, 135,
                  nullptr);
            ranges << QString("%1 %2 %3 %4")
                          .arg(m.slider(i)->minimum())
                          .arg(m.slider(i)->maximum())
                          .arg(m.slider(i)->singleStep())
                          .arg(m.slider(i)->pageStep());
        }
        // Each slider's range, arrow step and click step.
        QCOMPARE(ranges,
                 QStringList({"-30000 30000 1 10", "-30000 30000 1 10", "-100 30000 1 10",
                              "-18100 18100 1 100", "-18100 18100 1 100", "-18100 18100 1 100",
                              "0 18000 1 100", "-30000 30000 1 100", "-30000 30000 1 100"}));
        // Fonts: the dialog face at 8.25 pt, row labels bold, the title at 24 pt.
        QCOMPARE(m.window->font().family(), "Liberation Sans");
        QCOMPARE(m.get("Label12")->font().pointSizeF(), 8.25);
        QVERIFY(m.get("Label9")->font().bold() && !m.get("Label12")->font().bold());
        QCOMPARE(m.get("Label21")->font().pointSizeF(), 24.0);
        // The top view is darker than the side and front views.
        QStringList backgrounds;
        for (const char *view : {"Picture1", "Picture2", "Picture3"})
            backgrounds << m.get(view)->grab().toImage().pixelColor(2, 2).name();
        QCOMPARE(backgrounds, QStringList({"#404040", "#808080", "#808080"}));
        // Enlarging the window leaves every control where it was.
        m.window->resize(1200, 800);
        QTRY_COMPARE(m.window->size(), QSize(1200, 800));
        QCOMPARE(m.get("cmdMakeCamFile")->geometry(), QRect(664, 272, 121, 17));
    }

    void menus()
    {
        MainWindow m;
        const QList<QAction *> top = m.window->menuBar()->actions();
        QStringList bar;
        for (const QAction *menu : top)
            bar << menu->menu()->objectName() + ' ' + menu->text();
        QCOMPARE(bar,
                 QStringList({"mnuFile &File", "mnuEdit &Edit", "mnuView &View", "mnuHelp &Help"}));
        const auto entries = [](const QMenu *menu) {
            QStringList list;
            for (const QAction *action : menu->actions()) {
                list << (action->isSeparator() ? "-"
                                               : (action->menu() ? action->menu()->objectName()
                                                                 : action->objectName()) +
                                                     ' ' + action->text());
            }
            return list;
        };
        QCOMPARE(entries(top[0]->menu()),
                 QStringList({"mnuFileNew &New...", "mnuFileOpen &Open...",
                              "mnuFileOpenRecent Open &Recent", "mnuFileSave &Save",
                              "mnuFileSaveAs Save &As...", "-", "mnuFileQuit &Quit"}));
        QCOMPARE(entries(top[1]->menu()),
                 QStringList({"mnuEditUndo Undo", "mnuEditRedo Redo", "-",
                              "mnuEditCopy &Copy Camera", "mnuEditPaste &Paste Camera"}));
        // The keys users know, among the platform's own (Redo is also Ctrl+Y on Windows).
        const QMap<QString, QString> keys = {
            {"mnuFileNew", "Ctrl+N"},        {"mnuFileOpen", "Ctrl+O"},
            {"mnuFileSave", "Ctrl+S"},       {"mnuFileSaveAs", "Ctrl+Shift+S"},
            {"mnuFileQuit", "Ctrl+Q"},       {"mnuEditUndo", "Ctrl+Z"},
            {"mnuEditRedo", "Ctrl+Shift+Z"}, {"mnuEditCopy", "Ctrl+C"},
            {"mnuEditPaste", "Ctrl+V"}};
        for (auto k = keys.cbegin(); k != keys.cend(); ++k)
            QVERIFY2(m.get<QAction>(k.key())->shortcuts().contains(QKeySequence(k.value())),
                     qPrintable(k.key()));
        QCOMPARE(entries(top[2]->menu()), QStringList({"mnuViewCameraEye Camera's Eye"}));
        QVERIFY(m.get<QAction>("mnuViewCameraEye")->shortcuts().contains(QKeySequence("Ctrl+E")));
        QCOMPARE(top[3]->menu()->actions().size(), 1);
        QAction *about = top[3]->menu()->actions().constFirst();
        QCOMPARE(about->text(), "&About");
        m.dialogs.answers.push_back(UserDialogs::Answer::Ok);
        about->trigger();
        QCOMPARE(m.dialogs.messages.size(), 1);
        QVERIFY(m.dialogs.messages[0].startsWith("Kestrel|Ok|Kestrel File Editor"));
    }

    void focusOrder()
    {
        MainWindow m;
        QVERIFY(QTest::qWaitForWindowActive(m.window.get()));
        // Apply, Cancel and Paste are disabled after start-up and skipped.
        const QStringList expected = {
            "OptCameraNumber(0)", "cmdLoadCCamFile",   "HScrollCam(2)", "HScrollCam(3)",
            "HScrollCam(4)",      "HScrollCam(5)",     "HScrollCam(8)", "cmdsaveCameraFile",
            "HScrollCam(6)",      "HScrollCam(0)",     "HScrollCam(7)", "HScrollCam(1)",
            "cmdMakeCamFile",     "cmdCopyCam",        "Picture1",      "Picture2",
            "Picture3",           "OptCameraNumber(0)"};
        m.option(0)->setFocus();
        QStringList seen = {QApplication::focusWidget()->objectName()};
        while (seen.size() < expected.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(seen, expected);
    }

    // The common road: load a file, drag the zoom thumb, apply, save, compare the bytes.
    void loadDragApplySave()
    {
        QTemporaryDir dir;
        CameraSet cameras = defaultCameras(4); // Ferrari
        cameras[0].X = 1.0f;
        cameras[1].Z = std::numeric_limits<float>::quiet_NaN(); // saved bit for bit
        MainWindow m;
        m.open(writeFile(dir.filePath("ferrari.cam"), cameraFile(cameras)));
        QCOMPARE(m.display(0)->text(), "1");

        // Drag the zoom slider's thumb to the right with the mouse.
        QScrollBar *zoom = m.slider(6);
        const int before = zoom->value();
        QStyleOptionSlider option;
        option.initFrom(zoom);
        option.orientation = Qt::Horizontal;
        option.minimum = zoom->minimum();
        option.maximum = zoom->maximum();
        option.sliderPosition = option.sliderValue = zoom->value();
        option.pageStep = zoom->pageStep();
        const QPoint thumb =
            zoom->style()
                ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, zoom)
                .center();
        QTest::mousePress(zoom, Qt::LeftButton, {}, thumb);
        for (int dx = 5; dx <= 40; dx += 5)
            QTest::mouseMove(zoom, thumb + QPoint(dx, 0));
        QTest::mouseRelease(zoom, Qt::LeftButton, {}, thumb + QPoint(40, 0));
        const int after = zoom->value();
        QVERIFY2(after > before, qPrintable(QString("%1 -> %2").arg(before).arg(after)));
        QCOMPARE(m.display(6)->text(), formatPlainDecimal(after / 100.0));
        QVERIFY(m.pending());

        m.click("cmdeditApply");
        m.save(dir.filePath("out.cam"));
        QVERIFY(m.dialogs.asScripted());
        // The Nose camera went through the sliders; the other five are as loaded.
        CameraSet expected = cameras;
        expected[0].Y = 0.004f; // 0.004071432 at 1/250 m
        expected[0].Z = 0.004f; // 0.002243254 is 0.56 steps
        expected[0].Pitch1 = float(modCameraMath::DegreesToRadians(0.33f)); // 0.3336794 degrees
        expected[0].Zoom = float(modCameraMath::DegreesToRadians(float(after / 100.0)));
        expected[0].Pitch2 = float(modCameraMath::DegreesToRadians(-7.16f)); // -0.125 rad
        QCOMPARE(readFile(dir.filePath("out.cam")).toHex(' '), cameraFile(expected).toHex(' '));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
