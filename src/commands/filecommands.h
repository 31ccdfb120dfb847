#pragma once

#include "camerarecord.h"
#include "moddefaultvariablesetup.h"
#include "userdialogs.h"

#include <QObject>
#include <QString>

class CameraEditor;
class QLabel;
class QPushButton;
class SettingsStore;

// The open, save and new-file commands of the main window.
class FileCommands : public QObject
{
    Q_OBJECT

public:
    struct Widgets
    {
        QLabel *lblfile1 = nullptr;
        QPushButton *cmdsaveCameraFile = nullptr;
    };

    FileCommands(CameraDocument &document, const DefaultTable &defaults, CameraEditor &editor,
                 UserDialogs &dialogs, SettingsStore &settings, const Widgets &widgets,
                 QObject *parent = nullptr);

    // Show the open or save dialog, remember the choice; the full path, or empty.
    QString FileOpen();
    QString FileSave();

    // Clicks of "Load Car Camera File", "Save Camera File As" and "Create New Cam File".
    // The first run of the new-file command (at start-up) asks nothing and takes Brabham.
    void loadCameraFile();
    void saveCameraFile();
    void makeCameraFile();

    // Opens a file handed to the editor (named at start or dropped on the window) as
    // the Load command opens the file chosen in its dialog: remembered, shown, tested,
    // and read when it passes. `path` is not empty.
    void openCameraFile(const QString &path);

    // The folder both file dialogs start in when none has been remembered yet.
    static QString defaultInitialFolder();

private:
    // Shows the dialog until a name is chosen, the user cancels, or a failure is
    // answered with Cancel. Writes nothing; returns the full path or empty.
    QString runFileDialog(UserDialogs::FileRequest request);
    void setFileLabel(const QString &name);
    // What the open command remembers of a chosen file: its folder, path and name.
    void rememberOpenedFile(const QString &path);
    // The Load command after its dialog: shows the name, tests and reads the file.
    void readCameraFile(const QString &name);

    CameraDocument &m_document;
    const DefaultTable &m_defaults;
    CameraEditor &m_editor;
    UserDialogs &m_dialogs;
    SettingsStore &m_settings;
    Widgets m_widgets;
    // Cartype: the car type last chosen with OK in the car type dialog. A later
    // new-file command whose dialog is closed without OK goes on with it.
    qint16 m_cartype = 0;
    qint16 m_newCommandUsed = 0;
};
