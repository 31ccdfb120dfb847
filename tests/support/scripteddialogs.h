#pragma once

#include "userdialogs.h"

#include <QList>
#include <QStringList>

#include <deque>

// Dialogs for tests: each call takes the next scripted answer of its kind and is
// recorded, so a test says what the user answers and checks what was asked. A call
// with nothing scripted counts as unexpected.
class ScriptedDialogs : public UserDialogs
{
public:
    std::deque<Answer> answers;
    std::deque<QString> inputs;
    std::deque<FileResult> files;
    std::deque<std::optional<int>> carTypes;

    // "title|buttons|text" of each message box, "title|prompt|default" of each input box.
    QStringList messages, inputRequests;
    QList<FileRequest> fileRequests;
    int unexpected = 0;

    Answer message(const QString &text, const QString &title, Buttons buttons) override
    {
        static const char *const names[] = {"Ok", "YesNo", "RetryCancel", "SaveDiscardCancel"};
        messages << title + '|' + names[int(buttons)] + '|' + text;
        return take(answers, Answer::Cancel);
    }
    QString inputBox(const QString &prompt, const QString &title, const QString &text) override
    {
        inputRequests << title + '|' + prompt + '|' + text;
        return take(inputs, QString());
    }
    FileResult fileDialog(const FileRequest &request) override
    {
        fileRequests << request;
        return take(files, FileResult{CancelError, QString()});
    }
    std::optional<int> selectCarType() override { return take(carTypes, std::optional<int>(0)); }

    void chooseFile(const QString &path) { files.push_back({0, path}); }
    void failFileDialog(int code) { files.push_back({code, QString()}); }
    // Nothing came unasked and every scripted answer was used.
    bool asScripted() const
    {
        return !unexpected && answers.empty() && inputs.empty() && files.empty() &&
               carTypes.empty();
    }

private:
    template <typename T> T take(std::deque<T> &script, T otherwise)
    {
        if (script.empty()) {
            ++unexpected;
            return otherwise;
        }
        T next = script.front();
        script.pop_front();
        return next;
    }
};
