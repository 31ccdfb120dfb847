#include "frmcarcamera.h"
#include "memorysettings.h"
#include "scripteddialogs.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QtTest>

namespace {

struct Place
{
    const char *name;
    const char *parent;           // "" for the client area
    int left, top, width, height; // 1/1440 inch
    QString caption;              // after start-up
    QString toolTip;
};

// Every control of the main window, as placed at start-up.
const Place places[] = {
    {"CameraSelectorFrame", "", 120, 0, 2055, 3975, QStringLiteral("Camera Selector"), QString()},
    {"Cameditframe", "", 2280, 0, 9495, 3975, QStringLiteral("Nose Camera"), QString()},
    {"lblfile1", "", 120, 4080, 5175, 315, QStringLiteral("brabham.cam"), QString()},
    {"cmdLoadCCamFile", "", 6120, 4080, 1815, 255, QStringLiteral("Load Car Camera File"),
     QStringLiteral("Load existing camera file.")},
    {"cmdsaveCameraFile", "", 8040, 4080, 1815, 255, QStringLiteral("Save Camera File As"),
     QStringLiteral("Save current camera edits.")},
    {"cmdMakeCamFile", "", 9960, 4080, 1815, 255, QStringLiteral("Create New Cam File"),
     QStringLiteral("Create a new car cam.  toggle through car types")},
    {"Picture1", "", 120, 4440, 3855, 3375, QString(), QString()},
    {"Picture2", "", 4080, 4440, 3855, 3375, QString(), QString()},
    {"Picture3", "", 8040, 4440, 3735, 3375, QString(), QString()},
    {"OptCameraNumber(0)", "CameraSelectorFrame", 240, 360, 1575, 375, QStringLiteral("Nose"),
     QString()},
    {"OptCameraNumber(1)", "CameraSelectorFrame", 240, 720, 1575, 375, QStringLiteral("Gear Box"),
     QString()},
    {"OptCameraNumber(2)", "CameraSelectorFrame", 240, 1080, 1695, 375,
     QStringLiteral("Zepplin/Shoulder *"), QString()},
    {"OptCameraNumber(3)", "CameraSelectorFrame", 240, 1440, 1455, 375, QStringLiteral("Roll Bar"),
     QString()},
    {"OptCameraNumber(4)", "CameraSelectorFrame", 240, 1800, 1575, 375,
     QStringLiteral("Front Suspension"), QString()},
    {"OptCameraNumber(5)", "CameraSelectorFrame", 240, 2160, 1695, 375,
     QStringLiteral("Rear Suspension"), QString()},
    {"Label1", "CameraSelectorFrame", 120, 2520, 1815, 735,
     QStringLiteral("*  Zeppelin/Shoulder view not visible during replays."), QString()},
    {"Label2", "Cameditframe", 540, 360, 135, 255, QStringLiteral("X"), QString()},
    {"lblCameraValues(0)", "Cameditframe", 780, 360, 795, 255, QStringLiteral("2.324"), QString()},
    {"Label12", "Cameditframe", 1680, 360, 735, 255, QStringLiteral("Meters"), QString()},
    {"HScrollCam(0)", "Cameditframe", 780, 660, 3015, 135, QString(), QString()},
    {"Label3", "Cameditframe", 540, 960, 135, 255, QStringLiteral("Y"), QString()},
    {"lblCameraValues(1)", "Cameditframe", 780, 942, 795, 255, QStringLiteral("0.204"), QString()},
    {"Label13", "Cameditframe", 1680, 960, 735, 255, QStringLiteral("Meters"), QString()},
    {"HScrollCam(1)", "Cameditframe", 780, 1260, 3015, 135, QString(), QString()},
    {"Label4", "Cameditframe", 540, 1560, 135, 255, QStringLiteral("Z"), QString()},
    {"lblCameraValues(2)", "Cameditframe", 780, 1524, 795, 255, QStringLiteral("0.084"), QString()},
    {"Label14", "Cameditframe", 1680, 1560, 735, 255, QStringLiteral("Meters"), QString()},
    {"HScrollCam(2)", "Cameditframe", 780, 1845, 3015, 135, QString(), QString()},
    {"Label6", "Cameditframe", 240, 2160, 495, 255, QStringLiteral("Yaw"), QString()},
    {"lblCameraValues(3)", "Cameditframe", 780, 2106, 795, 255, QStringLiteral("0.0"), QString()},
    {"Label15", "Cameditframe", 1680, 2100, 975, 195, QStringLiteral("Degrees"), QString()},
    {"HScrollCam(3)", "Cameditframe", 780, 2430, 3015, 135, QString(), QString()},
    {"Label7", "Cameditframe", 240, 2760, 495, 255, QStringLiteral("Pitch"), QString()},
    {"lblCameraValues(4)", "Cameditframe", 780, 2688, 795, 255, QStringLiteral("0.2"), QString()},
    {"Label16", "Cameditframe", 1680, 2700, 975, 195, QStringLiteral("Degrees"), QString()},
    {"HScrollCam(4)", "Cameditframe", 780, 3015, 3015, 135, QString(), QString()},
    {"Label8", "Cameditframe", 240, 3300, 615, 255, QStringLiteral("Bank"), QString()},
    {"lblCameraValues(5)", "Cameditframe", 780, 3210, 795, 255, QStringLiteral("0.0"), QString()},
    {"Label17", "Cameditframe", 1680, 3240, 975, 195, QStringLiteral("Degrees"), QString()},
    {"HScrollCam(5)", "Cameditframe", 780, 3540, 3015, 135, QString(), QString()},
    {"Label9", "Cameditframe", 4560, 1080, 1095, 255, QStringLiteral("Zoom Angle"), QString()},
    {"lblCameraValues(6)", "Cameditframe", 5700, 1080, 795, 255, QStringLiteral("77.99"),
     QString()},
    {"Label18", "Cameditframe", 6540, 1080, 975, 195, QStringLiteral("Degrees"), QString()},
    {"HScrollCam(6)", "Cameditframe", 5700, 1380, 3015, 135, QString(), QString()},
    {"Label10", "Cameditframe", 4620, 1680, 1035, 255, QStringLiteral("Unknown 1"), QString()},
    {"lblCameraValues(7)", "Cameditframe", 5700, 1665, 795, 255, QStringLiteral("0.0"), QString()},
    {"Label19", "Cameditframe", 6540, 1680, 975, 195, QStringLiteral("Degrees"), QString()},
    {"HScrollCam(7)", "Cameditframe", 5700, 1980, 3015, 135, QString(), QString()},
    {"Label11", "Cameditframe", 4620, 2220, 975, 255, QStringLiteral("Unknown 2"), QString()},
    {"lblCameraValues(8)", "Cameditframe", 5700, 2250, 795, 255, QStringLiteral("-7.16"),
     QString()},
    {"Label20", "Cameditframe", 6540, 2280, 975, 195, QStringLiteral("Degrees"), QString()},
    {"HScrollCam(8)", "Cameditframe", 5700, 2565, 3015, 135, QString(), QString()},
    {"Label5", "Cameditframe", 120, 600, 615, 255, QStringLiteral("<- Rear"), QString()},
    {"Label23", "Cameditframe", 3840, 600, 615, 255, QStringLiteral("Front->"), QString()},
    {"Label24", "Cameditframe", 60, 1200, 675, 255, QStringLiteral("<- Right"), QString()},
    {"Label25", "Cameditframe", 3840, 1200, 615, 195, QStringLiteral("Left ->"), QString()},
    {"Label26", "Cameditframe", 120, 1800, 615, 195, QStringLiteral("<- Down"), QString()},
    {"Label27", "Cameditframe", 3840, 1800, 555, 195, QStringLiteral("Up ->"), QString()},
    {"Label28", "Cameditframe", 60, 2400, 675, 255, QStringLiteral("<- Right"), QString()},
    {"Label29", "Cameditframe", 3840, 2400, 615, 195, QStringLiteral("Left ->"), QString()},
    {"Label31", "Cameditframe", 120, 3000, 555, 195, QStringLiteral("<- Up"), QString()},
    {"Label30", "Cameditframe", 3840, 3000, 735, 195, QStringLiteral("Down ->"), QString()},
    {"Label33", "Cameditframe", 120, 3540, 555, 255, QStringLiteral("<- Left"), QString()},
    {"Label32", "Cameditframe", 3840, 3540, 1035, 195, QStringLiteral("Right ->"), QString()},
    {"Label34", "Cameditframe", 4920, 1320, 615, 195, QStringLiteral("<- Zoom"), QString()},
    {"Label35", "Cameditframe", 8760, 1320, 555, 255, QStringLiteral("Wide ->"), QString()},
    {"Label21", "Cameditframe", 5100, 2820, 4335, 555, QStringLiteral("Kestrel Editor"),
     QStringLiteral("Written by the Kestrel developers")},
    {"cmdCopyCam", "Cameditframe", 5220, 3600, 735, 255, QStringLiteral("Copy"),
     QStringLiteral("Copy the currently active camera to copy buffer")},
    {"cmdPaste", "Cameditframe", 6000, 3600, 735, 255, QStringLiteral("Paste"),
     QStringLiteral("Pastes copy buffer into currently selected camera position")},
    {"cmdEditCancel", "Cameditframe", 7500, 3600, 855, 255, QStringLiteral("Cancel"),
     QStringLiteral("Cancels movements of sliders, does not cancel paste.")},
    {"cmdeditApply", "Cameditframe", 8460, 3600, 855, 255, QStringLiteral("Apply"),
     QStringLiteral("Apply edits, enables Save camera")},
};

QString captionOf(const QWidget *w)
{
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    if (auto *frame = qobject_cast<const QGroupBox *>(w))
        return frame->title();
    return QString();
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void everyControlAtItsPlace()
    {
        ScriptedDialogs dialogs;
        MemorySettings settings;
        frmCarCamera window(&dialogs, &settings);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget *client = window.centralWidget();
        QCOMPARE(client->size(), QSize(792, 535));
        QCOMPARE(window.windowTitle(), QStringLiteral("Kestrel File Editor"));

        for (const Place &p : places) {
            const QString name = QLatin1String(p.name);
            auto *w = window.findChild<QWidget *>(name);
            QVERIFY2(w, qPrintable(name));
            const QString parentName = *p.parent ? QLatin1String(p.parent) : client->objectName();
            QVERIFY2(w->parentWidget() ==
                         (*p.parent ? window.findChild<QWidget *>(parentName) : client),
                     qPrintable(name));
            const QRect expected(qRound(p.left / 15.0), qRound(p.top / 15.0),
                                 qRound(p.width / 15.0), qRound(p.height / 15.0));
            QVERIFY2(w->geometry() == expected, qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                                                               .arg(name)
                                                               .arg(w->x())
                                                               .arg(w->y())
                                                               .arg(w->width())
                                                               .arg(w->height())));
            if (!p.caption.isNull())
                QCOMPARE(captionOf(w), p.caption);
            QCOMPARE(w->toolTip(), p.toolTip.isNull() ? QString() : p.toolTip);
            QVERIFY2(!w->accessibleName().isEmpty() || !captionOf(w).isEmpty(), qPrintable(name));
        }
    }

    void statesAfterStartUp()
    {
        ScriptedDialogs dialogs;
        MemorySettings settings;
        frmCarCamera window(&dialogs, &settings);
        auto enabled = [&](const char *name) {
            return window.findChild<QWidget *>(QLatin1String(name))->isEnabled();
        };
        QVERIFY(!enabled("cmdeditApply"));
        QVERIFY(!enabled("cmdEditCancel"));
        QVERIFY(enabled("cmdsaveCameraFile"));
        QVERIFY(enabled("cmdCopyCam"));
        QVERIFY(!enabled("cmdPaste"));
        QVERIFY(enabled("cmdLoadCCamFile"));
        QVERIFY(enabled("cmdMakeCamFile"));
        const int ranges[9][3] = {{-30000, 30000, 10},  {-30000, 30000, 10},  {-100, 30000, 10},
                                  {-18100, 18100, 100}, {-18100, 18100, 100}, {-18100, 18100, 100},
                                  {0, 18000, 100},      {-30000, 30000, 100}, {-30000, 30000, 100}};
        for (int i = 0; i < 9; ++i) {
            auto *s = window.findChild<QScrollBar *>(QStringLiteral("HScrollCam(%1)").arg(i));
            QCOMPARE(s->minimum(), ranges[i][0]);
            QCOMPARE(s->maximum(), ranges[i][1]);
            QCOMPARE(std::max(s->singleStep(), s->pageStep()), ranges[i][2]);
            QCOMPARE(std::min(s->singleStep(), s->pageStep()), 1);
            QCOMPARE(s->orientation(), Qt::Horizontal);
        }
        QVERIFY(dialogs.unexpected.isEmpty());
    }

    void menus()
    {
        ScriptedDialogs dialogs;
        MemorySettings settings;
        frmCarCamera window(&dialogs, &settings);
        const QList<QAction *> top = window.menuBar()->actions();
        QCOMPARE(top.size(), 2);
        QCOMPARE(top[0]->text(), QStringLiteral("&File"));
        QVERIFY(top[0]->menu() == nullptr || top[0]->menu()->actions().isEmpty());
        QCOMPARE(top[1]->text(), QStringLiteral("&Help"));
        QVERIFY(top[1]->menu());
        QCOMPARE(top[1]->menu()->actions().size(), 1);
        QAction *about = top[1]->menu()->actions().constFirst();
        QCOMPARE(about->text(), QStringLiteral("&About"));

        dialogs.answers.push_back(UserDialogs::Answer::Ok);
        about->trigger();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Kestrel"));
        QCOMPARE(dialogs.messages[0].buttons, UserDialogs::Buttons::Ok);
        QVERIFY(dialogs.messages[0].text.contains(QStringLiteral("Kestrel")));
    }

    void focusOrder()
    {
        ScriptedDialogs dialogs;
        MemorySettings settings;
        frmCarCamera window(&dialogs, &settings);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        // Apply and Cancel are disabled after start-up and skipped.
        const QStringList expected = {
            "OptCameraNumber(0)", "cmdLoadCCamFile",   "HScrollCam(2)", "HScrollCam(3)",
            "HScrollCam(4)",      "HScrollCam(5)",     "HScrollCam(8)", "cmdsaveCameraFile",
            "HScrollCam(6)",      "HScrollCam(0)",     "HScrollCam(7)", "HScrollCam(1)",
            "cmdMakeCamFile",     "cmdCopyCam",        "Picture1",      "Picture2",
            "Picture3",           "OptCameraNumber(0)"};
        window.findChild<QWidget *>(QStringLiteral("OptCameraNumber(0)"))->setFocus();
        QStringList seen = {QApplication::focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(seen, expected);
    }
};

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
