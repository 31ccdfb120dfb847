#pragma once

#include "camerarecord.h"
#include "moddefaultvariablesetup.h"
#include "recentfiles.h"
#include "userdialogs.h"

#include <QObject>
#include <QString>

class CameraEditor;
class EditHistory;
class QLabel;
class QPushButton;
class SettingsStore;

// The open, save and new-file commands of the main window, the document's own file,
// and the question before unsaved changes are dropped.
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
                 EditHistory &history, UserDialogs &dialogs, SettingsStore &settings,
                 const Widgets &widgets, QObject *parent = nullptr);

    // Show the open or save dialog, remember the choice; the full path, or empty.
    QString FileOpen();
    QString FileSave();

    // Clicks of "Load Car Camera File", "Save Camera File As" and "Create New Cam File".
    // The first run of the new-file command (at start-up) asks nothing and takes Brabham.
    // Load and Create New first ask about unsaved changes. Save As returns whether the
    // file was written.
    void loadCameraFile();
    bool saveCameraFile();
    void makeCameraFile();

    // Saves the document to its own file without a dialog, applying pending changes
    // first as Save As does; a document without a file goes through Save As. Returns
    // whether the file was written.
    bool save();

    // Opens a file handed to the editor (named at start or dropped on the window) as
    // the Load command opens the file chosen in its dialog: remembered, shown, tested,
    // and read when it passes. `path` is not empty.
    void openCameraFile(const QString &path);
    // Opens a file of the recent list in the same way; a file that is gone or refused
    // is reported with its name and leaves the list.
    void openRecentFile(const QString &path);

    // Before unsaved changes would be dropped: asks whether to save them. True when
    // the command may go on (nothing unsaved, saved, or discarded); false when the
    // user cancelled or the save was cancelled or failed.
    bool askToSaveChanges();

    // The document's own file (the one opened or last saved), empty when it has none,
    // and the name the window shows for it: the file's name, or the default file name
    // of a new document.
    QString documentName() const { return m_documentName; }

    RecentFiles &recentFiles() { return m_recentFiles; }

    // The folder both file dialogs start in when none has been remembered yet.
    static QString defaultInitialFolder();

signals:
    // The document's file or name changed: another document, or saved under a new name.
    void documentFileChanged();

private:
    // Shows the dialog until a name is chosen, the user cancels, or a failure is
    // answered with Cancel. Writes nothing; returns the full path or empty.
    QString runFileDialog(UserDialogs::FileRequest request);
    void setFileLabel(const QString &name);
    // What the open command remembers of a chosen file: its folder, path and name.
    void rememberOpenedFile(const QString &path);
    // The Load command after its dialog: shows the name, tests and reads the file, which
    // becomes the document when it passes. A refused file of the recent list leaves it.
    enum class Source
    {
        Chosen,
        RecentList
    };
    void readCameraFile(const QString &name, Source source = Source::Chosen);
    // Opens a named file (not through the dialog) after the question about unsaved
    // changes.
    void openNamedFile(const QString &name, Source source);
    // Writes the document to the named file; on success it becomes the document's file.
    bool writeDocument(const QString &name);
    // The file just opened or saved is the document's own, and the newest recent file.
    void takeDocumentFile(const QString &name);

    CameraDocument &m_document;
    const DefaultTable &m_defaults;
    CameraEditor &m_editor;
    EditHistory &m_history;
    UserDialogs &m_dialogs;
    SettingsStore &m_settings;
    Widgets m_widgets;
    // Cartype: the car type last chosen with OK in the car type dialog. A later
    // new-file command whose dialog is closed without OK goes on with it.
    qint16 m_cartype = 0;
    qint16 m_newCommandUsed = 0;
    QString m_documentPath;
    QString m_documentName;
    RecentFiles m_recentFiles;
};
