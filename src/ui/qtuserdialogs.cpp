#include "qtuserdialogs.h"

#include "frmselectcartype.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace {

// "*.*" means every file only where every name has an extension part; elsewhere
// it would hide names without a dot, so there it becomes "*".
QStringList platformFilters(QStringList filters)
{
#ifndef Q_OS_WIN
    for (QString &filter : filters)
        filter.replace(QLatin1String("(*.*)"), QLatin1String("(*)"));
#endif
    return filters;
}

} // namespace

UserDialogs::Answer QtUserDialogs::message(const QString &text, const QString &title,
                                           Buttons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, m_owner);
    // Messages quote paths, which may hold anything; never read them as markup.
    box.setTextFormat(Qt::PlainText);
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::RetryCancel:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        break;
    case Buttons::SaveDiscardCancel:
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    default:
        return buttons == Buttons::Ok ? Answer::Ok
                                      : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
    }
}

QString QtUserDialogs::inputBox(const QString &prompt, const QString &title,
                                const QString &defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_owner, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

UserDialogs::FileResult QtUserDialogs::fileDialog(const FileRequest &request)
{
    // No title of our own: the platform's default for an open or save dialog.
    QFileDialog dialog(m_owner);
    dialog.setAcceptMode(request.mode == FileRequest::Open ? QFileDialog::AcceptOpen
                                                           : QFileDialog::AcceptSave);
    // A name that names no file yet is accepted by both dialogs.
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = platformFilters(request.filters);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    // Qt's dialogs have no read-only check box, so hideReadOnly needs nothing. No
    // default suffix: a name typed without ".cam" is used as typed.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    // A remembered folder that is gone leaves the dialog in its own starting folder.
    if (!request.initialFolder.isEmpty() && QFileInfo(request.initialFolder).isDir())
        dialog.setDirectory(request.initialFolder);
    if (!request.initialFileName.isEmpty())
        dialog.selectFile(request.initialFileName);

    // Neither dialog reports a failure of its own; everything but a chosen name is a cancel.
    const QString path =
        dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    if (path.isEmpty())
        return {CancelError, QString()};
    return {0, path};
}

std::optional<int> QtUserDialogs::selectCarType()
{
    // A fresh dialog each time, modal to the owner.
    frmSelectCarType dialog(m_owner);
    if (dialog.exec() == QDialog::Accepted)
        return dialog.CarChoice();
    return std::nullopt;
}
