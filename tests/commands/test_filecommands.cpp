// The open, save and new-file commands in the main window.

#include "filecommands.h"
#include "mainwindow.h"

#include <QAccessible>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

const QString FileName = "LastFileNameOpened/LastFileNameOpened1";
const QString FilePath = "LastFilePathOpened/LastFilePathOpened1";
const QString Folder = "Startup/MostRecentFilePath";
const QString Recent1 = "RecentFiles/RecentFile1";
constexpr int Brabham = 0, Eagle = 3, Ferrari = 4, Lotus = 5;
constexpr int Cancelled = UserDialogs::CancelError;

} // namespace

class TestFileCommands : public QObject, WindowFixture
{
    Q_OBJECT

private slots:
    void init() { startWindow(); }
    void cleanup() { verifyDialogsScripted(); }

    void startUpSaveAndTheRememberedNames()
    {
        m->dialogs.failFileDialog(Cancelled);
        m->click("cmdLoadCCamFile");
        QCOMPARE(m->dialogs.fileRequests[0].initialFolder, FileCommands::defaultInitialFolder());

        // Every start offers the Brabham file name, not the file of the last run.
        m = std::make_unique<MainWindow>(
            QMap<QString, QString>{{FileName, "/old/lotus.cam"}, {Folder, "/data/cams"}});
        QCOMPARE(m->settings.writes, QStringList{FileName});
        m->dialogs.failFileDialog(Cancelled);
        m->click("cmdLoadCCamFile");
        const UserDialogs::FileRequest open = m->dialogs.fileRequests.last();
        QCOMPARE(open.mode, UserDialogs::FileRequest::Open);
        QCOMPARE(open.initialFolder + ' ' + open.initialFileName, "/data/cams brabham.cam");
        QCOMPARE(open.filters, QStringList({"Camera Files (*.cam)", "All Files (*.*)"}));
        QVERIFY(open.hideReadOnly && !open.overwritePrompt);

        // The start-up document saved untouched: the Nose camera has gone through its
        // sliders (X 2.324, not 2.323915), the others are written bit for bit.
        m->settings.writes.clear();
        m->save(path("lotus.cam"));
        const UserDialogs::FileRequest save = m->dialogs.fileRequests.last();
        QCOMPARE(save.mode, UserDialogs::FileRequest::Save);
        QCOMPARE(save.filters, QStringList{"Camera Files (*.cam)"});
        QVERIFY(save.overwritePrompt);
        const QByteArray bytes = readFile(path("lotus.cam"));
        QCOMPARE(bytes.mid(12, 4).toHex(' '), QByteArray("6a bc 14 40"));
        QCOMPARE(bytes.mid(48), cameraFile(defaultCameras(Brabham)).mid(48));
        QCOMPARE(m->fileLabel(), QDir::toNativeSeparators(path("lotus.cam")));
        // A screen reader speaks the new name, not the one shown at start-up.
        QCOMPARE(QAccessible::queryAccessibleInterface(m->get("lblfile1"))->text(QAccessible::Name),
                 m->fileLabel());
        QCOMPARE(m->settings.writes, QStringList({Folder, FileName, Recent1}));
        // Both dialogs now start in its folder, offering its full path.
        for (const char *button : {"cmdLoadCCamFile", "cmdsaveCameraFile"}) {
            m->dialogs.failFileDialog(Cancelled);
            m->click(button);
            QCOMPARE(m->dialogs.fileRequests.last().initialFolder, dir->path());
            QCOMPARE(m->dialogs.fileRequests.last().initialFileName, path("lotus.cam"));
        }
    }

    void loadThenSaveOverALongerFile()
    {
        const CameraSet lotus = defaultCameras(Lotus);
        QByteArray bytes = cameraFile(lotus);
        bytes[4] = 7; // Reserved: never examined, and written as 0
        const QString source = writeFile(path("lotus.cam"), bytes);
        // Loading drops a pending move once the user has said so.
        m->clickOption(3);
        m->nudge(0);
        m->dialogs.answers.push_back(UserDialogs::Answer::Discard);
        m->open(source);
        QVERIFY(sameBits(m->cameras(), lotus));
        QCOMPARE(m->frameCaption(), "Nose Camera");
        QCOMPARE(m->slider(0)->value(), 613); // 2.452515 m
        QVERIFY(m->clean());
        const QMap<QString, QString> &remembered = m->settings.values;
        QCOMPARE(remembered[Folder] + ' ' + remembered[FilePath] + ' ' + remembered[FileName],
                 dir->path() + ' ' + source + " lotus.cam");

        const QString target = writeFile(path("old.cam"), QByteArray(300, 'x'));
        m->save(target);
        QCOMPARE(readFile(target), cameraFile(m->cameras()));
    }

    void rejectedFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // a null array: no file at all
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file")
            << QByteArray() << "File Length does not indicate Camera file";
        QTest::newRow("lower-case signature")
            << cameraFile(defaultCameras(Lotus)).replace(0, 4, "macc")
            << "Not A Vantage Camera File";
    }
    void rejectedFilesChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString target = path("rejected.cam");
        if (!bytes.isNull())
            writeFile(target, bytes);
        m->makeNew(Ferrari);
        m->clickOption(3);
        m->nudge(0);
        const CameraSet before = m->cameras();
        m->dialogs.answers.push_back(UserDialogs::Answer::Discard);
        m->dialogs.answers.push_back(UserDialogs::Answer::Ok);
        m->open(target);

        QCOMPARE(m->dialogs.messages,
                 QStringList({"Kestrel|SaveDiscardCancel|Do you want to save the changes to "
                              "ferrari.cam?",
                              "Kestrel|Ok|" + message}));
        QVERIFY(sameBits(m->cameras(), before) && m->pending());
        // The choice is shown all the same; the file is left as it was.
        QCOMPARE(m->fileLabel(), QDir::toNativeSeparators(target));
        QCOMPARE(QFileInfo::exists(target), !bytes.isNull());
        QCOMPARE(readFile(target), bytes);
    }

    void cancelsAndShortNamesStop()
    {
        m->clickOption(2);
        m->nudge(0);
        const CameraSet before = m->cameras();
        m->settings.writes.clear();
        // A cancelled open empties the file label and changes nothing else; a name
        // shorter than two characters is shown, but not read. Each asks first about the
        // pending move.
        m->dialogs.answers = {UserDialogs::Answer::Discard, UserDialogs::Answer::Discard};
        m->dialogs.failFileDialog(Cancelled);
        m->click("cmdLoadCCamFile");
        QCOMPARE(m->fileLabel(), QString());
        m->open("x");
        QCOMPARE(m->fileLabel(), "x");
        QVERIFY(sameBits(m->cameras(), before) && m->pending());
        // A cancelled save has applied the pending move all the same; a short name is not written.
        m->dialogs.failFileDialog(Cancelled);
        m->click("cmdsaveCameraFile");
        QCOMPARE(m->fileLabel(), QString());
        QCOMPARE(m->cameras()[2].X, -0.396f); // -0.3985842 m is 100 steps back, moved one on
        QVERIFY(m->clean());
        const QString current = QDir::currentPath();
        QDir::setCurrent(dir->path());
        m->save("y");
        QDir::setCurrent(current);
        QCOMPARE(m->fileLabel(), "y");
        QVERIFY(!QFileInfo::exists(path("y")));
        // The cancels remembered nothing.
        QCOMPARE(m->settings.writes, QStringList({Folder, FilePath, FileName, Folder, FileName}));
    }

    void carTypeDialogChoices()
    {
        m->makeNew(std::nullopt); // closed before any choice: Brabham
        QCOMPARE(m->fileLabel(), "brabham.cam");
        m->makeNew(Eagle);
        // Closed by its close box: the make chosen last time, whatever the document became.
        m->clickOption(4);
        m->nudge(0);
        m->dialogs.answers.push_back(UserDialogs::Answer::Discard);
        m->makeNew(std::nullopt);
        QCOMPARE(m->fileLabel(), "eagle.cam");
        QCOMPARE(m->settings.values[FileName], "eagle.cam");
        QVERIFY(sameBits(m->cameras(), defaultCameras(Eagle)) && m->clean());
        m->makeNew(Brabham);
        QCOMPARE(m->fileLabel(), "brabham.cam");
    }

    // A failing dialog: Retry shows it again, Cancel ends the command at once.
    void dialogFailures_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("52") << 52 << "Bad File Name";
        QTest::newRow("53") << 53 << "File Not Found";
        QTest::newRow("54") << 54 << "Bad File Mode";
        QTest::newRow("55") << 55 << "File in use";
        QTest::newRow("57") << 57 << "Device I/O error";
        QTest::newRow("56") << 56 << "Some I/O error";
        QTest::newRow("-1") << -1 << "Some I/O error";
    }
    void dialogFailures()
    {
        QFETCH(int, code);
        QFETCH(QString, message);
        m->dialogs.failFileDialog(code);
        m->dialogs.answers.push_back(UserDialogs::Answer::Retry);
        m->save(path("retried.cam"));
        QVERIFY(QFileInfo::exists(path("retried.cam")));
        m->settings.writes.clear();
        m->dialogs.failFileDialog(code);
        m->dialogs.answers.push_back(UserDialogs::Answer::Cancel);
        m->click("cmdLoadCCamFile");
        QCOMPARE(m->dialogs.messages, QStringList(2, "Kestrel|RetryCancel|" + message));
        QCOMPARE(m->dialogs.fileRequests.size(), 3);
        QCOMPARE(m->fileLabel(), QString());
        QVERIFY(m->settings.writes.isEmpty());
    }

    // A file and a folder in the way of three targets that cannot be written.
    void failedSaveReportsAndKeepsWhatWasThere_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("path through a regular file") << "plain.cam/x.cam";
        QTest::newRow("folder where the file should be") << "folder.cam";
        QTest::newRow("folder that does not exist") << "nowhere/x.cam";
    }
    void failedSaveReportsAndKeepsWhatWasThere()
    {
        QFETCH(QString, target);
        writeFile(path("plain.cam"), "the file that was there");
        QVERIFY(QDir(dir->path()).mkpath("folder.cam/inside"));
        m->dialogs.answers.push_back(UserDialogs::Answer::Ok);
        m->save(path(target));

        const QString shown = QDir::toNativeSeparators(path(target));
        QCOMPARE(m->dialogs.messages.size(), 1);
        QVERIFY2(m->dialogs.messages[0].startsWith("Kestrel|Ok|") &&
                     m->dialogs.messages[0].contains(shown),
                 qPrintable(m->dialogs.messages[0]));
        QCOMPARE(m->fileLabel(), shown);
        QCOMPARE(readFile(path("plain.cam")), "the file that was there");
        QVERIFY(QFileInfo(path("folder.cam/inside")).isDir());
        // Nothing else is left behind: no folder made, no temporary file.
        QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({"folder.cam", "plain.cam"}));
    }
};

QTEST_MAIN(TestFileCommands)
#include "test_filecommands.moc"
