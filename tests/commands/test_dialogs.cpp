// The dialogs as the user sees them (the car type dialog, the Qt message boxes and
// file dialogs) and the persisted settings.

#include "frmselectcartype.h"
#include "qtuserdialogs.h"
#include "settingsstore.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Runs `answer` on the first modal dialog of type T that appears during the next exec().
// What a dialog showed is checked after it has closed, so a failed check cannot leave it open.
template <typename T> void answerModal(std::function<void(T *)> answer)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start(10);
}

void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Before the first QSettings of the process, which caches the location.
        QStandardPaths::setTestModeEnabled(true);
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    }

    void carTypeDialogLayout()
    {
        frmSelectCarType dialog;
        QCOMPARE(dialog.windowTitle(), "Select Car Type");
        QCOMPARE(dialog.size(), QSize(276, 196));
        QVERIFY(dialog.windowFlags().testFlags(Qt::WindowCloseButtonHint |
                                               Qt::WindowMinMaxButtonsHint));
        // Its own font and icon, also without an owner to inherit them from.
        QCOMPARE(dialog.font().family() + QString::number(dialog.font().pointSizeF()),
                 "Liberation Sans8.25");
        QCOMPARE(dialog.windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
        const QStringList makes = {"Brabham", "BRM",   "Coventry", "Eagle",
                                   "Ferrari", "Lotus", "Murasama"};
        QPushButton *ok = dialog.findChild<QPushButton *>("cmdCarOk");
        for (int i = 0; i < 7; ++i) {
            auto *option = dialog.findChild<QRadioButton *>(QString("optCarType(%1)").arg(i));
            QCOMPARE(option->text(), makes[i]);
            QCOMPARE(option->geometry(), QRect(12, 8 + 24 * i, 121, 21));
            QVERIFY(!option->isChecked());
            QVERIFY(option->nextInFocusChain() ==
                    (i < 6 ? static_cast<QWidget *>(dialog.optCarType(i + 1)) : ok));
        }
        QCOMPARE(ok->text(), "&Ok");
        QCOMPARE(ok->geometry(), QRect(176, 148, 77, 29));
        // Resizing leaves every control where it was.
        dialog.show();
        dialog.resize(500, 400);
        QTRY_COMPARE(dialog.size(), QSize(500, 400));
        QCOMPARE(dialog.optCarType(6)->geometry(), QRect(12, 152, 121, 21));
        QCOMPARE(ok->geometry(), QRect(176, 148, 77, 29));
    }

    // A fresh dialog each time, modal to the window, picked by mouse or keys.
    void carTypeDialogByMouseAndKeys()
    {
        QWidget owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        QtUserDialogs dialogs(&owner);
        // Lotus, then Eagle, then OK: the last click counts.
        QWidget *parent = nullptr;
        bool modal = false;
        answerModal<frmSelectCarType>([&](frmSelectCarType *dialog) {
            parent = dialog->parentWidget();
            modal = dialog->isModal();
            click(dialog->optCarType(5));
            click(dialog->optCarType(3));
            click(dialog->cmdCarOk());
        });
        QCOMPARE(dialogs.selectCarType(), std::optional<int>(3));
        QCOMPARE(parent, &owner);
        QVERIFY(modal);
        // A new dialog does not remember Eagle: OK at once is Brabham.
        answerModal<frmSelectCarType>([](frmSelectCarType *dialog) { click(dialog->cmdCarOk()); });
        QCOMPARE(dialogs.selectCarType(), std::optional<int>(0));
        // The arrow keys move round the column from Brabham, which has the focus: Down,
        // Up, then Left past the top to Murasama; Tab reaches OK and Enter presses it.
        answerModal<frmSelectCarType>([](frmSelectCarType *dialog) {
            if (QTest::qWaitForWindowActive(dialog)) {
                for (Qt::Key k :
                     {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Tab, Qt::Key_Return})
                    QTest::keyClick(QApplication::focusWidget(), k);
            }
            if (dialog->isVisible())
                dialog->reject();
        });
        QCOMPARE(dialogs.selectCarType(), std::optional<int>(6));
        // Closed without OK: no choice.
        answerModal<frmSelectCarType>([](frmSelectCarType *dialog) {
            click(dialog->optCarType(1));
            dialog->close();
        });
        QCOMPARE(dialogs.selectCarType(), std::nullopt);
    }

    void fileDialogs()
    {
        QTemporaryDir dir;
        QtUserDialogs dialogs;
        UserDialogs::FileRequest request{UserDialogs::FileRequest::Open,
                                         dir.path(),
                                         "brabham.cam",
                                         {"Camera Files (*.cam)", "All Files (*.*)"},
                                         true,
                                         false};
        // A name that names no file yet is accepted.
        QStringList seen; // accept mode (0 open, 1 save), folder, file, filters, active filter
        answerModal<QFileDialog>([&](QFileDialog *dialog) {
            seen << QString::number(dialog->acceptMode()) << dialog->directory().canonicalPath()
                 << dialog->selectedFiles().value(0) << dialog->nameFilters().join(';')
                 << dialog->selectedNameFilter();
            // Typed, as selectFile() leaves the name alone once the field has the focus.
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText("new.cam");
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        const UserDialogs::FileResult result = dialogs.fileDialog(request);
        QCOMPARE(result.error, 0);
        QCOMPARE(result.fullPath, dir.filePath("new.cam"));
#ifdef Q_OS_WIN
        const QString allFiles = "All Files (*.*)"; // every name there has an extension part
#else
        const QString allFiles = "All Files (*)";
#endif
        QCOMPARE(seen,
                 QStringList({"0", QDir(dir.path()).canonicalPath(), dir.filePath("brabham.cam"),
                              "Camera Files (*.cam);" + allFiles, "Camera Files (*.cam)"}));

        // The save dialog confirms before replacing a file; a cancel gives the cancel code.
        request = {UserDialogs::FileRequest::Save, {}, {}, {"Camera Files (*.cam)"}, false, true};
        answerModal<QFileDialog>([&](QFileDialog *dialog) {
            seen = {QString::number(dialog->acceptMode()),
                    QString::number(dialog->testOption(QFileDialog::DontConfirmOverwrite))};
            dialog->reject();
        });
        QCOMPARE(dialogs.fileDialog(request).error, UserDialogs::CancelError);
        QCOMPARE(seen, QStringList({"1", "0"}));
    }

    void messageBoxes()
    {
        using B = UserDialogs::Buttons;
        using A = UserDialogs::Answer;
        const struct
        {
            B buttons;
            QMessageBox::StandardButtons shown;
            QMessageBox::StandardButton pressed;
            A answer;
        } boxes[] = {
            {B::Ok, QMessageBox::Ok, QMessageBox::Ok, A::Ok},
            {B::YesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, A::No},
            {B::RetryCancel, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry,
             A::Retry},
            {B::SaveDiscardCancel, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
             QMessageBox::Discard, A::Discard},
            {B::SaveDiscardCancel, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
             QMessageBox::Save, A::Save}};
        QtUserDialogs dialogs;
        for (const auto &box : boxes) {
            QString seen; // title|text|icon|buttons|text format
            answerModal<QMessageBox>([&](QMessageBox *shown) {
                seen = QString("%1|%2|%3|%4|%5")
                           .arg(shown->windowTitle(), shown->text())
                           .arg(shown->icon())
                           .arg(shown->standardButtons())
                           .arg(shown->textFormat());
                shown->button(box.pressed)->click();
            });
            QCOMPARE(dialogs.message("<b>in use</b>", "Kestrel", box.buttons), box.answer);
            QCOMPARE(seen,
                     QString("Kestrel|<b>in use</b>|0|%1|%2").arg(box.shown).arg(Qt::PlainText));
        }
    }

    void settingsStore()
    {
        QSettings raw(QSettings::NativeFormat, QSettings::UserScope, "Kestrel", "Kestrel");
#ifdef Q_OS_WIN
        // The user's registry, as Qt keeps the settings of organisation and application.
        QCOMPARE(raw.fileName(), "\\HKEY_CURRENT_USER\\Software\\Kestrel\\Kestrel");
        raw.clear();
        raw.sync();
#else
        const QString file = raw.fileName();
        QVERIFY(file.contains(".qttest"));
        QDir(file).removeRecursively(); // left by an earlier run that failed half-way
        QFile::remove(file);
#endif
        {
            QtSettingsStore store;
            QCOMPARE(store.read("Startup", "MostRecentFilePath", "/home/x"), "/home/x");
            store.write("Startup", "MostRecentFilePath", "C:\\cams, new");
            store.write("LastFileNameOpened", "LastFileNameOpened1", "brabham.cam");
        }
        // A new store, as after a restart, reads what was written under "Kestrel", section and key.
        QCOMPARE(QtSettingsStore().read("Startup", "MostRecentFilePath", "x"), "C:\\cams, new");
        raw.sync();
        QCOMPARE(raw.value("LastFileNameOpened/LastFileNameOpened1").toString(), "brabham.cam");
#ifdef Q_OS_WIN
        raw.clear();
#else
        // A folder where the settings file should be: nothing is stored, defaults are read.
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file));
        QtSettingsStore().write("Startup", "MostRecentFilePath", "/data/cams");
        QCOMPARE(QtSettingsStore().read("Startup", "MostRecentFilePath", "/home/x"), "/home/x");
        QVERIFY(QDir(file).removeRecursively());
#endif
    }

    // A copy with "Kestrel.ini" beside the program keeps its settings in that file, with
    // the same sections, keys and values, and leaves the user's settings alone.
    void portableSettings()
    {
        QSettings user(QSettings::NativeFormat, QSettings::UserScope, "Kestrel", "Kestrel");
        user.clear();
        user.sync();
        QTemporaryDir program;
        QVERIFY(QtSettingsStore::forProgramFolder(program.path()).iniFile().isEmpty());
        QVERIFY(QDir(program.path()).mkdir("Kestrel.ini")); // a folder is no settings file
        QVERIFY(QtSettingsStore::forProgramFolder(program.path()).iniFile().isEmpty());
        QVERIFY(QDir(program.path()).rmdir("Kestrel.ini"));

        QFile ini(program.filePath("Kestrel.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly)); // empty, as the zip holds it
        ini.close();
        QtSettingsStore store = QtSettingsStore::forProgramFolder(program.path());
        QCOMPARE(QFileInfo(store.iniFile()).canonicalFilePath(),
                 QFileInfo(ini).canonicalFilePath());
        store.write("Startup", "MostRecentFilePath", "E:\\cams");
        store.write("LastFileNameOpened", "LastFileNameOpened1", "Pérez.cam");

        QSettings written(ini.fileName(), QSettings::IniFormat);
        QCOMPARE(written.value("Startup/MostRecentFilePath").toString(), "E:\\cams");
        QCOMPARE(QtSettingsStore::forProgramFolder(program.path())
                     .read("LastFileNameOpened", "LastFileNameOpened1", "x"),
                 "Pérez.cam");
        user.sync();
        QVERIFY(user.allKeys().isEmpty());
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
