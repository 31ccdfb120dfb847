#include "filecommands.h"

#include "cameraeditor.h"
#include "camerafile.h"
#include "edithistory.h"
#include "settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace {

// Sections and keys of the remembered folder and file names.
const QString StartupSection = QStringLiteral("Startup");
const QString MostRecentFilePathKey = QStringLiteral("MostRecentFilePath");
const QString FileNameSection = QStringLiteral("LastFileNameOpened");
const QString FileNameKey = QStringLiteral("LastFileNameOpened1");
const QString FilePathSection = QStringLiteral("LastFilePathOpened");
const QString FilePathKey = QStringLiteral("LastFilePathOpened1");

const QString CameraFilesFilter = QStringLiteral("Camera Files (*.cam)");
const QString AllFilesFilter = QStringLiteral("All Files (*.*)");

// The file dialogs' code for a name that names no file.
constexpr int FileNotFoundError = 53;

// A name this short cannot name a camera file; the commands stop on it.
constexpr int ShortestFileName = 2;

// The folder that holds the chosen file, taken from the path itself.
QString folderOf(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

// The message for a code the file dialogs report (none for a cancel).
QString fileDialogErrorMessage(int code)
{
    switch (code) {
    case UserDialogs::CancelError:
        return QString();
    case 52:
        return QStringLiteral("Bad File Name");
    case FileNotFoundError:
        return QStringLiteral("File Not Found");
    case 54:
        return QStringLiteral("Bad File Mode");
    case 55:
        return QStringLiteral("File in use");
    case 57:
        return QStringLiteral("Device I/O error");
    default:
        return QStringLiteral("Some I/O error");
    }
}

} // namespace

FileCommands::FileCommands(CameraDocument &document, const DefaultTable &defaults,
                           CameraEditor &editor, EditHistory &history, UserDialogs &dialogs,
                           SettingsStore &settings, const Widgets &widgets, QObject *parent)
    : QObject(parent), m_document(document), m_defaults(defaults), m_editor(editor),
      m_history(history), m_dialogs(dialogs), m_settings(settings), m_widgets(widgets),
      m_recentFiles(settings)
{
}

QString FileCommands::defaultInitialFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\");
#else
    return QDir::homePath();
#endif
}

QString FileCommands::runFileDialog(UserDialogs::FileRequest request)
{
    for (;;) {
        // The remembered folder and name are read again for each try.
        request.initialFolder =
            m_settings.read(StartupSection, MostRecentFilePathKey, defaultInitialFolder());
        request.initialFileName = m_settings.read(FileNameSection, FileNameKey, QString());

        const UserDialogs::FileResult result = m_dialogs.fileDialog(request);
        if (result.error == 0)
            return result.fullPath;
        // A cancel ends quietly, also after an earlier failure was retried.
        if (result.error == UserDialogs::CancelError)
            return QString();
        const UserDialogs::Answer answer =
            m_dialogs.message(fileDialogErrorMessage(result.error), UserDialogs::applicationTitle(),
                              UserDialogs::Buttons::RetryCancel);
        if (answer != UserDialogs::Answer::Retry)
            return QString();
    }
}

QString FileCommands::FileOpen()
{
    UserDialogs::FileRequest request;
    request.mode = UserDialogs::FileRequest::Open;
    request.filters = {CameraFilesFilter, AllFilesFilter};
    request.hideReadOnly = true;
    QString path = runFileDialog(request);
    if (!path.isEmpty())
        rememberOpenedFile(path);
    return path;
}

void FileCommands::rememberOpenedFile(const QString &path)
{
    m_settings.write(StartupSection, MostRecentFilePathKey, folderOf(path));
    m_settings.write(FilePathSection, FilePathKey, path);
    m_settings.write(FileNameSection, FileNameKey, QFileInfo(path).fileName());
}

QString FileCommands::FileSave()
{
    UserDialogs::FileRequest request;
    request.mode = UserDialogs::FileRequest::Save;
    request.filters = {CameraFilesFilter};
    request.overwritePrompt = true;
    QString path = runFileDialog(request);
    if (path.isEmpty())
        return QString();

    m_settings.write(StartupSection, MostRecentFilePathKey, folderOf(path));
    m_settings.write(FileNameSection, FileNameKey, path);
    return path;
}

void FileCommands::setFileLabel(const QString &name)
{
    m_widgets.lblfile1->setText(QDir::toNativeSeparators(name));
}

void FileCommands::takeDocumentFile(const QString &name)
{
    const QFileInfo file(name);
    m_documentPath = file.absoluteFilePath();
    m_documentName = file.fileName();
    m_recentFiles.add(m_documentPath);
    emit documentFileChanged();
}

bool FileCommands::askToSaveChanges()
{
    if (!m_history.isModified())
        return true;
    const UserDialogs::Answer answer = m_dialogs.message(
        QStringLiteral("Do you want to save the changes to %1?").arg(m_documentName),
        UserDialogs::applicationTitle(), UserDialogs::Buttons::SaveDiscardCancel);
    switch (answer) {
    case UserDialogs::Answer::Save:
        return save();
    case UserDialogs::Answer::Discard:
        return true;
    default:
        return false;
    }
}

void FileCommands::loadCameraFile()
{
    if (askToSaveChanges())
        readCameraFile(FileOpen());
}

void FileCommands::openCameraFile(const QString &path)
{
    // A relative name is taken from the current folder; the label and the settings
    // hold the whole path, as after the dialog.
    openNamedFile(QFileInfo(path).absoluteFilePath(), Source::Chosen);
}

void FileCommands::openRecentFile(const QString &path)
{
    openNamedFile(path, Source::RecentList);
}

void FileCommands::openNamedFile(const QString &name, Source source)
{
    if (!askToSaveChanges())
        return;
    rememberOpenedFile(name);
    readCameraFile(name, source);
}

void FileCommands::readCameraFile(const QString &name, Source source)
{
    // The label shows the choice at once, also a file that is then refused.
    setFileLabel(name);
    if (name.size() < ShortestFileName)
        return;

    // The document changes only when the whole file passes its tests.
    CameraFileReader reader;
    const CameraFileStatus status = reader.read(name);
    if (status != CameraFileStatus::Ok) {
        QString text = reader.errorString();
        if (source == Source::RecentList) {
            // A file of the list is named, as the user did not pick it from its folder.
            if (!QFileInfo::exists(name))
                text = fileDialogErrorMessage(FileNotFoundError);
            if (status != CameraFileStatus::ReadError)
                text = QDir::toNativeSeparators(name) + QStringLiteral("\n\n") + text;
            m_recentFiles.remove(name);
        }
        m_dialogs.message(text, UserDialogs::applicationTitle(), UserDialogs::Buttons::Ok);
        return;
    }
    m_document = reader.document();
    m_editor.showFirstCamera();
    takeDocumentFile(name);
    m_history.reset();
}

bool FileCommands::save()
{
    if (m_documentPath.isEmpty())
        return saveCameraFile();
    // As Save As does, without the dialog: pending edits are applied first.
    m_editor.apply();
    setFileLabel(m_documentPath);
    return writeDocument(m_documentPath);
}

bool FileCommands::saveCameraFile()
{
    // The active camera's pending edits go into the document first; they stay
    // applied if the user then cancels.
    m_editor.apply();

    const QString name = FileSave();
    setFileLabel(name);
    if (name.size() < ShortestFileName)
        return false;
    return writeDocument(name);
}

bool FileCommands::writeDocument(const QString &name)
{
    m_document.DocumentHeader = MakeCCamHeader();
    // Written beside the target and renamed over it: a failure leaves the old file whole.
    CameraFileWriter writer;
    if (!writer.write(name, m_document)) {
        m_dialogs.message(writer.errorString(), UserDialogs::applicationTitle(),
                          UserDialogs::Buttons::Ok);
        return false;
    }
    takeDocumentFile(name);
    m_history.markSaved();
    return true;
}

void FileCommands::makeCameraFile()
{
    // The start-up run has nothing to lose; later runs ask before the car type dialog.
    if (m_newCommandUsed >= 1 && !askToSaveChanges())
        return;
    m_document.DocumentHeader = m_defaults.DefaultHeader();

    int carType = 0;
    if (m_newCommandUsed >= 1) {
        // Closing the dialog without OK goes on with the make chosen last time.
        if (const std::optional<int> choice = m_dialogs.selectCarType())
            m_cartype = static_cast<qint16>(*choice);
        carType = m_cartype;
    }
    // Only the seven makes have defaults.
    if (carType < 0 || carType >= CarTypeCount)
        carType = 0;

    const QString fileName = m_defaults.DefaultFileName(carType);
    setFileLabel(fileName);
    m_settings.write(FileNameSection, FileNameKey, fileName);
    m_newCommandUsed = 1;

    m_document.DocumentCameras = m_defaults.DefaultCameras(carType);
    m_editor.showFirstCamera();
    m_widgets.cmdsaveCameraFile->setEnabled(true);
    // A new document has no file until it is saved.
    m_documentPath.clear();
    m_documentName = fileName;
    emit documentFileChanged();
    m_history.reset();
}
