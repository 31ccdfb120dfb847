#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Every modal dialog and message box the editor and the file commands show goes
// through this interface: the application uses the Qt implementation, tests a
// scripted one that answers and records what was asked.
class UserDialogs
{
public:
    enum class Buttons
    {
        Ok,
        YesNo,
        RetryCancel,
        SaveDiscardCancel
    };
    enum class Answer
    {
        Ok,
        Yes,
        No,
        Retry,
        Cancel,
        Save,
        Discard
    };

    virtual ~UserDialogs() = default;

    // The title of the program's message boxes.
    static QString applicationTitle() { return QStringLiteral("Kestrel"); }

    // A modal message box without an icon. Closing it without a button answers Ok,
    // No or Cancel.
    virtual Answer message(const QString &text, const QString &title, Buttons buttons) = 0;

    // A modal text input box; returns the text entered, or an empty text on Cancel.
    virtual QString inputBox(const QString &prompt, const QString &title,
                             const QString &defaultText) = 0;

    // The open and save dialogs.
    struct FileRequest
    {
        enum Mode
        {
            Open,
            Save
        } mode = Open;
        QString initialFolder;
        QString initialFileName;
        // Qt filter strings, first one active, e.g. "Camera Files (*.cam)".
        QStringList filters;
        bool hideReadOnly = false;
        bool overwritePrompt = false;
    };
    struct FileResult
    {
        // 0 when a name was chosen; CancelError when the user cancelled; another
        // code (52 bad file name, 53 not found, 54 bad mode, 55 in use, 57 device
        // I/O error, ...) when setting up or showing the dialog failed.
        int error = 0;
        QString fullPath;
    };
    static constexpr int CancelError = 32755;
    virtual FileResult fileDialog(const FileRequest &request) = 0;

    // The car type dialog. Returns the car type chosen with OK (0 when OK is pressed
    // without a choice), or nothing when the dialog was closed by its close box.
    virtual std::optional<int> selectCarType() = 0;
};
