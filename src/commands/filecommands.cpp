#include "filecommands.h"

#include "cameraeditor.h"
#include "settingsstore.h"
#include "userdialogs.h"

#include <QLabel>
#include <QPushButton>

// Placeholder: the full commands come next; this much lets the window start on
// the Brabham defaults.

namespace {
struct State
{
    CameraDocument *document;
    const DefaultTable *defaults;
    CameraEditor *editor;
    SettingsStore *settings;
    FileCommands::Widgets widgets;
    qint16 cartype = 0;
};
State *g_state = nullptr;
} // namespace

FileCommands::FileCommands(CameraDocument &document, const DefaultTable &defaults,
                           CameraEditor &editor, UserDialogs &, SettingsStore &settings,
                           const Widgets &widgets, QObject *parent)
    : QObject(parent)
{
    g_state = new State{&document, &defaults, &editor, &settings, widgets};
}

QString FileCommands::FileOpen()
{
    return QString();
}
QString FileCommands::FileSave()
{
    return QString();
}
void FileCommands::loadCameraFile() {}
void FileCommands::saveCameraFile() {}

void FileCommands::makeCameraFile()
{
    State &s = *g_state;
    s.document->DocumentHeader = s.defaults->DefaultHeader();
    const QString name = s.defaults->DefaultFileName(s.cartype);
    s.widgets.lblfile1->setText(name);
    s.settings->write(QStringLiteral("LastFileNameOpened"), QStringLiteral("LastFileNameOpened1"),
                      name);
    s.document->DocumentCameras = s.defaults->DefaultCameras(s.cartype);
    s.editor->showFirstCamera();
    s.widgets.cmdsaveCameraFile->setEnabled(true);
}

qint16 FileCommands::Cartype() const
{
    return g_state->cartype;
}
void FileCommands::setCartype(qint16 carType)
{
    g_state->cartype = carType;
}
