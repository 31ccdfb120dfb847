#pragma once

#include <QWidget>

class CameraEyeView;

// The camera's eye window: a separate, resizable, non-modal window of the main
// window whose whole client area is the picture of what the active camera sees.
// Closing it only hides it.
class frmCameraEye : public QWidget
{
    Q_OBJECT

public:
    explicit frmCameraEye(QWidget *mainWindow);

    CameraEyeView *picture() const { return m_picture; }
    // "Camera's Eye - " and the editor frame's caption.
    void setCameraCaption(const QString &caption);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    CameraEyeView *m_picture;
};
