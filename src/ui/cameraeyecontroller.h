#pragma once

#include "cameraeditor.h"
#include "eyeaim.h"

#include <QObject>

class QAction;
class QMainWindow;
class SettingsStore;
class frmCameraEye;

// The camera's eye window as part of the editor: the View menu's "Camera's Eye"
// item shows and hides it; it shows the working copy (the slider positions) of the
// active camera under the editor frame's caption, and aims and zooms the camera by
// setting the Yaw1, Pitch1 and Zoom sliders, as moving them by hand would. Whether
// it is open, and its size and place, are remembered in the settings.
class CameraEyeController : public QObject
{
    Q_OBJECT

public:
    // Adds the View menu before the main window's Help menu. The eye window is a child
    // of the main window; the controller must go before the main window and the
    // settings.
    CameraEyeController(QMainWindow *mainWindow, const CameraEditor &editor,
                        const EditorWidgets &widgets, SettingsStore &settings);
    ~CameraEyeController() override;

protected:
    // The main window: it shows the eye window again when it first shows, and
    // remembers it and takes it along when it closes.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMenu(QMainWindow *mainWindow);
    void setVisible(bool visible);
    void showCamera();
    void showCaption();
    void aim(const EyeAim &aim);
    void zoom(int notches);
    void setSlider(int index, double degrees);
    void remember(bool visible);
    void restore();
    void placeBesideMainWindow();

    QMainWindow *m_mainWindow;
    const CameraEditor &m_editor;
    EditorWidgets m_widgets;
    SettingsStore &m_settings;
    frmCameraEye *m_window;
    QAction *m_action = nullptr;
    bool m_restored = false;
};
