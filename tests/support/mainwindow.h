#pragma once

// The main window as the tests drive it: scripted dialogs, settings kept in memory,
// controls found by name, and the camera files the tests read and write.

#include "camerafile.h"
#include "frmcarcamera.h"
#include "scripteddialogs.h"
#include "settingsstore.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QUrl>
#include <QWindow>
#include <QtTest>

#include <memory>

// Settings kept in memory, so that tests never touch the user's.
class MemorySettings : public SettingsStore
{
public:
    QMap<QString, QString> values; // "Section/Key" -> value
    QStringList writes;            // "Section/Key" in the order written

    QString read(const QString &section, const QString &key, const QString &def) const override
    {
        return values.value(section + '/' + key, def);
    }
    void write(const QString &section, const QString &key, const QString &value) override
    {
        values.insert(section + '/' + key, value);
        writes << section + '/' + key;
    }
};

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A drag or drop of `urls` at the middle of the side view, offering copy, move and link.
template <typename Event>
bool sendDrag(QWidget *window, const QList<QUrl> &urls, Qt::DropAction *taken)
{
    QMimeData data;
    data.setUrls(urls);
    QWidget *view = window->findChild<QWidget *>("Picture2");
    const QPoint at = view->mapTo(window, view->rect().center());
    Event event(at, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data, Qt::LeftButton,
                Qt::NoModifier);
    event.setAccepted(false);
    QCoreApplication::sendEvent(window, &event);
    if (taken)
        *taken = event.dropAction();
    return event.isAccepted();
}

// A file for the program to refuse: `name` in `folder` (or an absolute path such as a
// device), holding `bytes` unless they are null; beside it a folder named "folder.cam".
inline QString placeRefusedFile(const QString &folder, const QString &name, const QByteArray &bytes)
{
    if (!QDir(folder).mkdir("folder.cam"))
        qFatal("cannot make folder.cam in %s", qPrintable(folder));
    const QString file = QDir(folder).absoluteFilePath(name);
    return bytes.isNull() ? file : writeFile(file, bytes);
}

// The six cameras of a car type as a camera file holds them.
inline CameraSet defaultCameras(int carType)
{
    return SetupDefaults().DefaultCameras(carType);
}
inline QByteArray cameraFile(const CameraSet &cameras)
{
    return serializeCameraFile({MakeCCamHeader(), cameras});
}

struct MainWindow
{
    ScriptedDialogs dialogs;
    MemorySettings settings;
    std::unique_ptr<frmCarCamera> window;

    // `remembered`: settings left by an earlier run of the program.
    explicit MainWindow(const QMap<QString, QString> &remembered = {})
    {
        settings.values = remembered;
        window = std::make_unique<frmCarCamera>(&dialogs, &settings);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("main window not shown");
    }

    template <typename T = QWidget> T *get(const QString &name) const
    {
        T *widget = window->findChild<T *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QScrollBar *slider(int i) const { return get<QScrollBar>(QString("HScrollCam(%1)").arg(i)); }
    QLabel *display(int i) const { return get<QLabel>(QString("lblCameraValues(%1)").arg(i)); }
    QRadioButton *option(int k) const
    {
        return get<QRadioButton>(QString("OptCameraNumber(%1)").arg(k));
    }
    QString fileLabel() const { return get<QLabel>("lblfile1")->text(); }
    QString frameCaption() const { return get<QGroupBox>("Cameditframe")->title(); }
    bool enabled(const QString &name) const { return get(name)->isEnabled(); }
    // Moves pending (Apply enabled) and Cancel enabled with them, or neither.
    bool pending() const { return window->hasPendingChanges() && enabled("cmdEditCancel"); }
    bool clean() const { return !window->hasPendingChanges() && !enabled("cmdEditCancel"); }
    const CameraSet &cameras() const { return window->document().DocumentCameras; }

    void click(const QString &button)
    {
        QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton);
    }
    // A press and release on camera option k, by default on its round indicator.
    void clickOption(int k, Qt::MouseButton button = Qt::LeftButton, QPoint at = {})
    {
        if (at.isNull())
            at = QPoint(8, option(k)->height() / 2);
        QTest::mousePress(option(k), button, Qt::NoModifier, at);
        QTest::mouseRelease(option(k), button, Qt::NoModifier, at);
    }
    // One click on slider i's right arrow: one position up.
    void nudge(int i) { slider(i)->triggerAction(QAbstractSlider::SliderSingleStepAdd); }
    // Typed entry: a click on value display i, answered with `text`.
    void type(int i, const QString &text)
    {
        dialogs.inputs.push_back(text);
        QTest::mouseClick(display(i), Qt::LeftButton);
    }
    void open(const QString &path)
    {
        dialogs.chooseFile(path);
        click("cmdLoadCCamFile");
    }
    void save(const QString &path)
    {
        dialogs.chooseFile(path);
        click("cmdsaveCameraFile");
    }
    void makeNew(std::optional<int> carType)
    {
        dialogs.carTypes.push_back(carType);
        click("cmdMakeCamFile");
    }

    // The title as the window system shows it, with or without the modified mark.
    QString title() const { return window->windowHandle()->title(); }
    bool modified() const { return window->isWindowModified(); }
    // A key pressed in the active window, where the menus' shortcuts take it.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        if (!QTest::qWaitForWindowActive(window.get()))
            qFatal("main window not active");
        QTest::keyClick(window.get(), key, modifiers);
    }
    QAction *action(const QString &name) const { return get<QAction>(name); }
};

// What the window tests share: a folder of their own and a new window for each test
// function, and the check that every dialog a test met was one it scripted.
struct WindowFixture
{
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> m;
    QString path(const QString &name) const { return dir->filePath(name); }
    void startWindow()
    {
        dir = std::make_unique<QTemporaryDir>();
        m = std::make_unique<MainWindow>();
    }
    void verifyDialogsScripted()
    {
        QVERIFY2(m->dialogs.asScripted(), qPrintable(m->dialogs.messages.join('\n')));
    }
};
