#include "frmcameraeye.h"

#include "cameraeyeview.h"
#include "eyepicture.h"

#include <QCloseEvent>
#include <QVBoxLayout>

frmCameraEye::frmCameraEye(QWidget *mainWindow)
    : QWidget(mainWindow, Qt::Window), m_picture(new CameraEyeView(this))
{
    setObjectName(QStringLiteral("frmCameraEye"));
    setAccessibleName(QStringLiteral("Camera's Eye"));
    setAccessibleDescription(QStringLiteral("What the active camera sees"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_picture);
    resize(EyePictureSize);
    setCameraCaption(QString());
}

void frmCameraEye::setCameraCaption(const QString &caption)
{
    setWindowTitle(QStringLiteral("Camera's Eye - ") + caption);
}

void frmCameraEye::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closed();
}
