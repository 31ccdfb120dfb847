// The Qt dialogs behind the commands, answered as a user would.

#include "qtuserdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Runs `answer` on the first modal dialog of type T that appears during the next exec().
template <typename T> void answerModal(std::function<void(T *)> answer)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start();
}

} // namespace

class TestQtUserDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void openDialogSetUpAndChoice();
    void saveDialogSetUpAndCancel();
    void messageBoxButtonsAndTitle();
};

void TestQtUserDialogs::initTestCase()
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

void TestQtUserDialogs::openDialogSetUpAndChoice()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QtUserDialogs dialogs;
    UserDialogs::FileRequest request;
    request.mode = UserDialogs::FileRequest::Open;
    request.initialFolder = dir.path();
    request.initialFileName = QStringLiteral("brabham.cam");
    request.filters = {"Camera Files (*.cam)", "All Files (*.*)"};
    request.hideReadOnly = true;

    // A name that names no file is accepted. What the dialog showed is checked
    // after it has closed, so that a failed check cannot leave it open.
    const QString chosen = dir.filePath(QStringLiteral("new.cam"));
    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    QString folder, filter, title, suffix, selected;
    QStringList filters;
    answerModal<QFileDialog>([&](QFileDialog *dialog) {
        mode = dialog->acceptMode();
        folder = dialog->directory().canonicalPath();
        filter = dialog->selectedNameFilter();
        filters = dialog->nameFilters();
        title = dialog->windowTitle();
        suffix = dialog->defaultSuffix();
        selected = dialog->selectedFiles().value(0);
        dialog->selectFile(chosen);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    const UserDialogs::FileResult result = dialogs.fileDialog(request);
    QCOMPARE(result.error, 0);
    QCOMPARE(result.fullPath, chosen);
    QVERIFY(!QFileInfo::exists(chosen));

    QCOMPARE(mode, QFileDialog::AcceptOpen);
    QCOMPARE(folder, QDir(dir.path()).canonicalPath());
    QCOMPARE(selected, dir.filePath(QStringLiteral("brabham.cam")));
    QCOMPARE(filters, request.filters);
    QCOMPARE(filter, QStringLiteral("Camera Files (*.cam)"));
    QCOMPARE(title, QStringLiteral("Open")); // the dialog's own, none of ours
    QVERIFY(suffix.isEmpty());
}

void TestQtUserDialogs::saveDialogSetUpAndCancel()
{
    QtUserDialogs dialogs;
    UserDialogs::FileRequest request;
    request.mode = UserDialogs::FileRequest::Save;
    request.initialFolder = QStringLiteral("/no/such/folder/anywhere");
    request.filters = {"Camera Files (*.cam)"};
    request.overwritePrompt = true;

    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    bool confirmOverwrite = false;
    QString title, suffix;
    answerModal<QFileDialog>([&](QFileDialog *dialog) {
        mode = dialog->acceptMode();
        confirmOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        title = dialog->windowTitle();
        suffix = dialog->defaultSuffix();
        dialog->reject();
    });
    const UserDialogs::FileResult result = dialogs.fileDialog(request);
    QCOMPARE(result.error, UserDialogs::CancelError);
    QVERIFY(result.fullPath.isEmpty());
    QCOMPARE(mode, QFileDialog::AcceptSave);
    QVERIFY(confirmOverwrite);
    QCOMPARE(title, QStringLiteral("Save As"));
    QVERIFY(suffix.isEmpty());
}

void TestQtUserDialogs::messageBoxButtonsAndTitle()
{
    QtUserDialogs dialogs;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons;
    auto record = [&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
    };
    answerModal<QMessageBox>([&](QMessageBox *box) {
        record(box);
        box->button(QMessageBox::Retry)->click();
    });
    QCOMPARE(dialogs.message("File in use", "Kestrel", UserDialogs::Buttons::RetryCancel),
             UserDialogs::Answer::Retry);
    QCOMPARE(title, QStringLiteral("Kestrel"));
    QCOMPARE(text, QStringLiteral("File in use"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, QMessageBox::Retry | QMessageBox::Cancel);

    answerModal<QMessageBox>([&](QMessageBox *box) {
        record(box);
        box->button(QMessageBox::Ok)->click();
    });
    QCOMPARE(dialogs.message("Not A Vantage Camera File", "Kestrel", UserDialogs::Buttons::Ok),
             UserDialogs::Answer::Ok);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

QTEST_MAIN(TestQtUserDialogs)
#include "test_qtuserdialogs.moc"
