#pragma once

#include "camerarecord.h"
#include "moddefaultvariablesetup.h"

#include <QMainWindow>

#include <memory>

class CameraEditor;
struct EditorWidgets;
class FileCommands;
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

private:
    void setAccessibleNames(const EditorWidgets &widgets);
    void setFocusOrder(const EditorWidgets &widgets, QWidget *load, QWidget *makeNew);
    void showAbout();

    std::unique_ptr<UserDialogs> m_ownDialogs;
    std::unique_ptr<SettingsStore> m_ownSettings;
    UserDialogs *m_dialogs;
    SettingsStore *m_settings;

    // The built-in defaults, filled before anything else, and the document.
    const DefaultTable m_defaults;
    CameraDocument m_document;

    std::unique_ptr<CameraEditor> m_editor;
    std::unique_ptr<FileCommands> m_fileCommands;
};
