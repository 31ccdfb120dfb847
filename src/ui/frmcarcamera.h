#pragma once

#include "cameraeditor.h"
#include "camerarecord.h"
#include "moddefaultvariablesetup.h"

#include <QMainWindow>

#include <memory>

class CameraEyeController;
class EditHistory;
class FileCommands;
class MainMenus;
class QCloseEvent;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QPushButton;
class SettingsStore;
class UserDialogs;

// The editor's main window: the camera selector, the editor frame with the nine
// value rows, the file buttons and the three views, all at fixed places.
class frmCarCamera : public QMainWindow
{
    Q_OBJECT

public:
    // Without dialogs or settings the window uses the Qt dialogs and the user's
    // persisted settings; tests pass scripted ones.
    explicit frmCarCamera(UserDialogs *dialogs = nullptr, SettingsStore *settings = nullptr,
                          QWidget *parent = nullptr);
    ~frmCarCamera() override;

    const CameraDocument &document() const { return m_document; }
    // Whether a slider has moved since the last Apply, Cancel or camera selection.
    bool hasPendingChanges() const;

    // Opens a camera file named on the command line, as the Load command opens the
    // file chosen in its dialog. Dropped files go the same way.
    void openCameraFile(const QString &path);

protected:
    // Closing the window (which ends the program) first asks about unsaved changes.
    void closeEvent(QCloseEvent *event) override;
    // One local file dropped anywhere on the window is opened; nothing else is taken.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createMenus();
    QWidget *createClientArea();
    void createCameraSelector(QWidget *client);
    void createEditorFrame(QWidget *client);
    void createFileRow(QWidget *client);
    void createViews(QWidget *client);
    void connectCommands();
    void setAccessibleNames();
    void setFocusOrder();
    void showAbout();
    // "lotus.cam[*] - Kestrel File Editor", marked while changes are unsaved.
    void updateTitle();

    std::unique_ptr<UserDialogs> m_ownDialogs;
    std::unique_ptr<SettingsStore> m_ownSettings;
    UserDialogs *m_dialogs;
    SettingsStore *m_settings;

    // The built-in defaults, filled before anything else, and the document.
    const DefaultTable m_defaults;
    CameraDocument m_document;

    // The controls the editor works on, and the rest of the file row.
    EditorWidgets m_widgets;
    QLabel *m_lblfile1 = nullptr;
    QPushButton *m_cmdLoadCCamFile = nullptr;
    QPushButton *m_cmdMakeCamFile = nullptr;

    MainMenus *m_menus = nullptr;
    std::unique_ptr<CameraEditor> m_editor;
    std::unique_ptr<EditHistory> m_history;
    std::unique_ptr<FileCommands> m_fileCommands;
    std::unique_ptr<CameraEyeController> m_cameraEye;
};
