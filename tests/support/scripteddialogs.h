#pragma once

#include "userdialogs.h"

#include <QList>
#include <QString>

#include <deque>
#include <optional>

// Dialogs for tests: each call takes the next scripted answer of its kind and is
// recorded, so a test can say what the user answers and check what was asked.
// A call with no answer scripted fails the test (through the recorded `unexpected`).
class ScriptedDialogs : public UserDialogs
{
public:
    struct Message
    {
        QString text;
        QString title;
        Buttons buttons;
    };
    struct Input
    {
        QString prompt;
        QString title;
        QString defaultText;
    };

    // Scripts.
    std::deque<Answer> answers;
    std::deque<QString> inputs;
    std::deque<FileResult> files;
    std::deque<std::optional<int>> carTypes;

    // Records.
    QList<Message> messages;
    QList<Input> inputRequests;
    QList<FileRequest> fileRequests;
    int carTypeRequests = 0;
    QStringList unexpected;

    Answer message(const QString &text, const QString &title, Buttons buttons) override
    {
        messages.append({text, title, buttons});
        if (answers.empty()) {
            unexpected.append(QStringLiteral("message: ") + text);
            return buttons == Buttons::YesNo
                       ? Answer::No
                       : (buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel);
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }

    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override
    {
        inputRequests.append({prompt, title, defaultText});
        if (inputs.empty()) {
            unexpected.append(QStringLiteral("input: ") + prompt);
            return QString();
        }
        const QString text = inputs.front();
        inputs.pop_front();
        return text;
    }

    FileResult fileDialog(const FileRequest &request) override
    {
        fileRequests.append(request);
        if (files.empty()) {
            unexpected.append(QStringLiteral("file dialog"));
            return {CancelError, QString()};
        }
        const FileResult r = files.front();
        files.pop_front();
        return r;
    }

    std::optional<int> selectCarType() override
    {
        ++carTypeRequests;
        if (carTypes.empty()) {
            unexpected.append(QStringLiteral("car type dialog"));
            return 0;
        }
        const std::optional<int> r = carTypes.front();
        carTypes.pop_front();
        return r;
    }

    // Convenience scripts.
    void chooseFile(const QString &path) { files.push_back({0, path}); }
    void cancelFileDialog() { files.push_back({CancelError, QString()}); }
    void failFileDialog(int code) { files.push_back({code, QString()}); }

    QString lastMessage() const { return messages.isEmpty() ? QString() : messages.last().text; }
    bool allAnswersUsed() const
    {
        return answers.empty() && inputs.empty() && files.empty() && carTypes.empty();
    }
};
