#pragma once

#include "camerarecord.h"
#include "moddefaultvariablesetup.h"

#include <QObject>
#include <QString>

class CameraEditor;
class QLabel;
class QPushButton;
class SettingsStore;
class UserDialogs;

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

    qint16 Cartype() const;
    void setCartype(qint16 carType);
};
