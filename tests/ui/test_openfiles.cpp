// Files handed to the editor: named on the command line, dropped on the window; and
// the executable's own options, which work without any display.

#include "mainwindow.h"
#include "systemtext.h"

#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

namespace {

const QString FileName = "LastFileNameOpened/LastFileNameOpened1";
const QString FilePath = "LastFilePathOpened/LastFilePathOpened1";
const QString Folder = "Startup/MostRecentFilePath";
const QString Recent1 = "RecentFiles/RecentFile1";
const QString LengthMessage = "File Length does not indicate Camera file";
constexpr int Brabham = 0, Ferrari = 4;

// A Ferrari file whose Nose camera has values with short displays.
CameraSet testCameras()
{
    CameraSet cameras = defaultCameras(Ferrari);
    cameras[0].X = 1.0f;
    cameras[0].Y = -0.5f;
    cameras[0].Z = 2.0f;
    cameras[0].Bank = 1.5707964f; // 90 degrees
    return cameras;
}

} // namespace

class TestOpenFiles : public QObject, WindowFixture
{
    Q_OBJECT

    // What the window shows of the Nose camera of testCameras().
    void verifyTestCamerasShown()
    {
        QVERIFY(sameBits(m->cameras(), testCameras()));
        QCOMPARE(m->frameCaption(), "Nose Camera");
        QStringList shown;
        for (int i : {0, 1, 2, 5})
            shown << m->display(i)->text();
        QCOMPARE(shown, QStringList({"1", "-0.5", "2", "90"}));
        QVERIFY(m->clean());
    }

private slots:
    void init()
    {
        startWindow();
        m->settings.writes.clear();
    }
    void cleanup() { verifyDialogsScripted(); }

    // A relative name is taken from the current folder; the label and the settings
    // hold the whole path, as after the Load command's dialog.
    void fileGivenAtStart()
    {
        const QString file = writeFile(path("ferrari.cam"), cameraFile(testCameras()));
        const QString current = QDir::currentPath();
        QVERIFY(QDir::setCurrent(path("")));
        m->window->openCameraFile("ferrari.cam");
        QDir::setCurrent(current);

        QCOMPARE(m->fileLabel(), QDir::toNativeSeparators(file));
        QCOMPARE(m->settings.writes, QStringList({Folder, FilePath, FileName, Recent1}));
        QCOMPARE(m->settings.values[Folder] + ' ' + m->settings.values[FilePath] + ' ' +
                     m->settings.values[FileName],
                 dir->path() + ' ' + file + " ferrari.cam");
        verifyTestCamerasShown();
    }

    // Refusals the Load command makes of content its own tests do not cover; the
    // start-up document stays, the label shows the file, nothing is written.
    void refusedFileGivenAtStart_data()
    {
        QTest::addColumn<QString>("name"); // in the test's folder, or absolute
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QByteArray dataLength217 = cameraFile(testCameras());
        dataLength217[8] = char(217);
        QTest::newRow("empty") << "empty.cam" << QByteArray("") << LengthMessage;
        QTest::newRow("229 bytes")
            << "long.cam" << cameraFile(testCameras()) + 'x' << LengthMessage;
        QTest::newRow("data length 217")
            << "217.cam" << dataLength217 << "Unsupported Vantage Camera File or Unknown Type";
        QTest::newRow("device") << "/dev/zero" << QByteArray() << LengthMessage;
        QTest::newRow("folder") << "folder.cam" << QByteArray() << LengthMessage;
    }
    void refusedFileGivenAtStart()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString file = placeRefusedFile(dir->path(), name, bytes);
        m->dialogs.answers.push_back(UserDialogs::Answer::Ok);
        m->window->openCameraFile(file);

        QCOMPARE(m->dialogs.messages, QStringList{"Kestrel|Ok|" + message});
        QVERIFY(sameBits(m->cameras(), defaultCameras(Brabham)) && m->clean());
        QCOMPARE(m->fileLabel(), QDir::toNativeSeparators(file));
        QCOMPARE(m->settings.values[FilePath], file);
        if (!bytes.isNull())
            QCOMPARE(readFile(file), bytes);
        QCOMPARE(QDir(dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(),
                 bytes.isNull() ? 1 : 2);
    }

    // One file dropped on the window opens as the file given at start does, dropping
    // the pending move of another camera when the user says so; the source is asked for
    // a copy, never a move.
    void dropOneFile()
    {
        const QString file = writeFile(path("ferrari.cam"), cameraFile(testCameras()));
        m->clickOption(3);
        m->nudge(0);
        m->dialogs.answers.push_back(UserDialogs::Answer::Discard);
        Qt::DropAction taken = Qt::IgnoreAction;
        QVERIFY(sendDrag<QDragEnterEvent>(m->window.get(), {QUrl::fromLocalFile(file)}, &taken));
        QCOMPARE(taken, Qt::CopyAction);
        QVERIFY(sendDrag<QDragMoveEvent>(m->window.get(), {QUrl::fromLocalFile(file)}, nullptr));
        QVERIFY(sendDrag<QDropEvent>(m->window.get(), {QUrl::fromLocalFile(file)}, &taken));
        QCOMPARE(taken, Qt::CopyAction);
        QTRY_COMPARE(m->fileLabel(), QDir::toNativeSeparators(file));
        QCOMPARE(m->settings.values[FilePath], file);
        verifyTestCamerasShown();
    }

    void refusedDrops_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<bool>("dialogOpen");
        const QUrl one = QUrl::fromLocalFile("/tmp/one.cam");
        QTest::newRow("two files")
            << QList<QUrl>{one, QUrl::fromLocalFile("/tmp/two.cam")} << false;
        QTest::newRow("folder") << QList<QUrl>{QUrl::fromLocalFile(QDir::tempPath())} << false;
        QTest::newRow("web address")
            << QList<QUrl>{QUrl("https://kestreleditor.org/lotus.cam")} << false;
        QTest::newRow("no address") << QList<QUrl>{} << false;
        QTest::newRow("one file while a message box is open") << QList<QUrl>{one} << true;
    }
    void refusedDrops()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(bool, dialogOpen);
        QMessageBox box;
        if (dialogOpen) {
            box.setWindowModality(Qt::ApplicationModal);
            box.show();
        }
        QVERIFY(!sendDrag<QDragEnterEvent>(m->window.get(), urls, nullptr));
        QVERIFY(!sendDrag<QDragMoveEvent>(m->window.get(), urls, nullptr));
        QVERIFY(!sendDrag<QDropEvent>(m->window.get(), urls, nullptr));
        QCoreApplication::processEvents();
        QCOMPARE(m->fileLabel(), "brabham.cam");
        QVERIFY(m->settings.writes.isEmpty());
    }

    // The executable with no display at all: the options are read before the window system.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString see = "; see 'kestrel --help'\n";
        QTest::newRow("two files") << QStringList{"a.cam", "b.cam"} << 2 << ""
                                   << "kestrel: unexpected argument 'b.cam'" + see;
        QTest::newRow("unknown option") << QStringList{"--open", "a.cam"} << 2 << ""
                                        << "kestrel: Unknown option 'open'" + see;
        QTest::newRow("version") << QStringList{"-v"} << 0 << "kestrel " KESTREL_VERSION "\n"
                                 << "";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: kestrel [options] [FILE]"
                              << "";
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess kestrel;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        kestrel.setProcessEnvironment(environment);
        kestrel.start(KESTREL_EXECUTABLE, arguments);
        QVERIFY(kestrel.waitForFinished(60000));
        QCOMPARE(kestrel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(kestrel.exitCode(), exitCode);
        const QString printed = kestrel.readAllStandardOutput();
        QCOMPARE(QString(kestrel.readAllStandardError()), systemLines(err));
        if (arguments == QStringList{"--help"}) {
            // The usage line, the two options and the one argument.
            QVERIFY2(printed.startsWith(systemLines(out + '\n')) &&
                         printed.contains("-h, --help") && printed.contains("-v, --version") &&
                         printed.contains("\n  FILE "),
                     qPrintable(printed));
        } else {
            QCOMPARE(printed, systemLines(out));
        }
    }
};

QTEST_MAIN(TestOpenFiles)
#include "test_openfiles.moc"
