#pragma once

#include "userdialogs.h"

class QWidget;

// The dialogs as the user sees them: Qt message boxes, input boxes and file
// dialogs, modal to the given window.
class QtUserDialogs : public UserDialogs
{
public:
    explicit QtUserDialogs(QWidget *owner = nullptr) : m_owner(owner) {}

    Answer message(const QString &text, const QString &title, Buttons buttons) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    FileResult fileDialog(const FileRequest &request) override;
    std::optional<int> selectCarType() override;

private:
    QWidget *m_owner;
};
