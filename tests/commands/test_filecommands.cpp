// The open, save and new-file commands in the real main window, with scripted
// dialogs and settings kept in memory.

#include "cameraeditor.h"
#include "camerafile.h"
#include "filecommands.h"
#include "frmcarcamera.h"
#include "memorysettings.h"
#include "moddefaultvariablesetup.h"
#include "scripteddialogs.h"
#include "slidervalues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

const QString FileNameSetting = QStringLiteral("LastFileNameOpened/LastFileNameOpened1");
const QString FilePathSetting = QStringLiteral("LastFilePathOpened/LastFilePathOpened1");
const QString FolderSetting = QStringLiteral("Startup/MostRecentFilePath");

enum CarType
{
    Brabham = 0,
    Eagle = 3,
    Ferrari = 4,
    Lotus = 5
};

const DefaultTable &defaults()
{
    static const DefaultTable table = SetupDefaults();
    return table;
}

// What Apply leaves in a camera: each value at its slider's resolution.
CameraSet appliedAtSliderResolution(CameraSet cameras, int camera)
{
    for (int i = 0; i < CameraRecord::FieldCount; ++i)
        cameras[camera].setField(
            i, fieldForPosition(i, positionForField(i, cameras[camera].field(i))));
    return cameras;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

float floatAt(const QByteArray &bytes, int offset)
{
    const quint32 bits = qFromLittleEndian<quint32>(bytes.constData() + offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

quint32 bitsOf(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// One main window over scripted dialogs and in-memory settings.
struct Session
{
    ScriptedDialogs dialogs;
    MemorySettings settings;
    std::unique_ptr<frmCarCamera> window;

    // `remembered`: settings left by an earlier run of the program.
    explicit Session(const QMap<QString, QString> &remembered = {})
    {
        settings.values = remembered;
        window = std::make_unique<frmCarCamera>(&dialogs, &settings, nullptr);
        window->show();
    }

    template <typename T> T *child(const QString &name) const
    {
        T *widget = window->findChild<T *>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }
    QString fileLabel() const { return child<QLabel>("lblfile1")->text(); }
    QPushButton *button(const QString &name) const { return child<QPushButton>(name); }
    QScrollBar *slider(int i) const
    {
        return child<QScrollBar>(QStringLiteral("HScrollCam(%1)").arg(i));
    }
    bool applyEnabled() const { return button("cmdeditApply")->isEnabled(); }
    QString frameCaption() const { return child<QGroupBox>("Cameditframe")->title(); }
    const CameraDocument &document() const { return window->document(); }
    CameraEditor &editor() const { return window->editor(); }

    void click(const QString &buttonName) { QTest::mouseClick(button(buttonName), Qt::LeftButton); }
    void open() { click("cmdLoadCCamFile"); }
    void save() { click("cmdsaveCameraFile"); }
    void makeNew() { click("cmdMakeCamFile"); }

    // Camera k active with an unapplied slider move.
    void pendingEditOnCamera(int k)
    {
        auto *option = child<QRadioButton>(QStringLiteral("OptCameraNumber(%1)").arg(k));
        QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, QPoint(6, option->height() / 2));
        slider(0)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    }
};

bool sameDocument(const CameraDocument &a, const CameraDocument &b)
{
    return a.DocumentHeader == b.DocumentHeader && sameBits(a.DocumentCameras, b.DocumentCameras);
}

} // namespace

class TestFileCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void startUpMakesTheBrabhamDocument();
    void dialogsStartFromTheRememberedFolderAndName();
    void savedStartUpDocumentBytes();
    void newFerrariSavedAndLoadedBack();
    void savingOverALongerFileLeavesACameraFile();
    void rejectedFilesChangeNothing_data();
    void rejectedFilesChangeNothing();
    void loadingDropsPendingEditsWithoutAQuestion();
    void cancelledOpenChangesNothing();
    void cancelledSaveKeepsTheApply();
    void shortNamesStop();
    void carTypeDialogChoices();
    void dialogFailures_data();
    void dialogFailures();
    void retryThenCancelEndsQuietly();
    void failedSaveReportsAndKeepsWhatWasThere_data();
    void failedSaveReportsAndKeepsWhatWasThere();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestFileCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFileCommands::startUpMakesTheBrabhamDocument()
{
    // Every start offers the Brabham file name, not the file of the last run.
    Session fresh({{FileNameSetting, QStringLiteral("/old/lotus.cam")}});
    QCOMPARE(fresh.dialogs.carTypeRequests, 0);
    QVERIFY(fresh.dialogs.messages.isEmpty());
    QVERIFY(fresh.dialogs.fileRequests.isEmpty());
    QCOMPARE(fresh.fileLabel(), QStringLiteral("brabham.cam"));
    QCOMPARE(fresh.settings.writes, QStringList{FileNameSetting});
    QCOMPARE(fresh.settings.get("LastFileNameOpened", "LastFileNameOpened1"),
             QStringLiteral("brabham.cam"));
    QVERIFY(sameBits(fresh.document().DocumentCameras, defaults().DefaultCameras(Brabham)));
    QVERIFY(fresh.document().DocumentHeader == defaults().DefaultHeader());
    QCOMPARE(fresh.editor().ActiveCamera(), 0);
    QCOMPARE(fresh.frameCaption(), QStringLiteral("Nose Camera"));
    QVERIFY(!fresh.applyEnabled());
    QVERIFY(!fresh.button("cmdEditCancel")->isEnabled());
    QVERIFY(fresh.button("cmdsaveCameraFile")->isEnabled());
    QCOMPARE(fresh.window->fileCommands().Cartype(), qint16(0));

    // A remembered folder is where the first dialog starts.
    Session remembered({{FolderSetting, QStringLiteral("/data/cams")}});
    remembered.dialogs.cancelFileDialog();
    remembered.open();
    QCOMPARE(remembered.dialogs.fileRequests.last().initialFolder, QStringLiteral("/data/cams"));
    QCOMPARE(remembered.dialogs.fileRequests.last().initialFileName, QStringLiteral("brabham.cam"));
}

void TestFileCommands::dialogsStartFromTheRememberedFolderAndName()
{
    Session s;
    // Nothing remembered yet but the start-up file name.
    s.dialogs.cancelFileDialog();
    s.open();
    QCOMPARE(s.dialogs.fileRequests.size(), 1);
    UserDialogs::FileRequest open = s.dialogs.fileRequests.last();
    QCOMPARE(open.mode, UserDialogs::FileRequest::Open);
    QCOMPARE(open.initialFolder, FileCommands::defaultInitialFolder());
#ifndef Q_OS_WIN
    QCOMPARE(open.initialFolder, QDir::homePath());
#endif
    QCOMPARE(open.initialFileName, QStringLiteral("brabham.cam"));
    QCOMPARE(open.filters, QStringList({"Camera Files (*.cam)", "All Files (*.*)"}));
    QVERIFY(open.hideReadOnly);
    QVERIFY(!open.overwritePrompt);

    // After a save to lotus.cam both dialogs start in its folder, offering its full path.
    const QString saved = path("lotus.cam");
    s.dialogs.chooseFile(saved);
    s.save();
    UserDialogs::FileRequest save = s.dialogs.fileRequests.last();
    QCOMPARE(save.mode, UserDialogs::FileRequest::Save);
    QCOMPARE(save.filters, QStringList{"Camera Files (*.cam)"});
    QVERIFY(save.overwritePrompt);

    s.dialogs.cancelFileDialog();
    s.open();
    open = s.dialogs.fileRequests.last();
    QCOMPARE(open.initialFolder, m_dir->path());
    QCOMPARE(open.initialFileName, saved);
    s.dialogs.cancelFileDialog();
    s.save();
    save = s.dialogs.fileRequests.last();
    QCOMPARE(save.initialFolder, m_dir->path());
    QCOMPARE(save.initialFileName, saved);
    QVERIFY(s.dialogs.unexpected.isEmpty());
}

void TestFileCommands::savedStartUpDocumentBytes()
{
    Session s;
    s.settings.writes.clear();
    const QString target = path("brabham.cam");
    s.dialogs.chooseFile(target);
    s.save();

    QVERIFY(s.dialogs.messages.isEmpty());
    QCOMPARE(s.fileLabel(), QDir::toNativeSeparators(target));
    const QByteArray bytes = readAll(target);
    QCOMPARE(bytes.size(), 228);
    QCOMPARE(bytes.left(12), QByteArray("MACC\0\0\0\0\xD8\0\0\0", 12));
    // The Nose camera went through its sliders (581 steps of 1/250 m); the
    // Gearbox camera is written bit for bit.
    QCOMPARE(bitsOf(floatAt(bytes, 12)), bitsOf(2.324f));
    QCOMPARE(bitsOf(floatAt(bytes, 48)), bitsOf(-1.304172f));
    const CameraSet expected = appliedAtSliderResolution(defaults().DefaultCameras(Brabham), 0);
    QCOMPARE(bytes, serializeCameraFile(MakeCCamHeader(), expected));
    QVERIFY(sameBits(s.document().DocumentCameras, expected));

    // Save remembers the folder and the full path, never the opened path.
    QCOMPARE(s.settings.writes, QStringList({FolderSetting, FileNameSetting}));
    QCOMPARE(s.settings.values.value(FolderSetting), m_dir->path());
    QCOMPARE(s.settings.values.value(FileNameSetting), target);
    QVERIFY(!s.applyEnabled());
}

void TestFileCommands::newFerrariSavedAndLoadedBack()
{
    Session s;
    s.dialogs.carTypes.push_back(Ferrari);
    s.makeNew();
    QCOMPARE(s.dialogs.carTypeRequests, 1);
    QCOMPARE(s.fileLabel(), QStringLiteral("ferrari.cam"));
    QCOMPARE(s.settings.values.value(FileNameSetting), QStringLiteral("ferrari.cam"));
    QVERIFY(sameBits(s.document().DocumentCameras, defaults().DefaultCameras(Ferrari)));

    const QString target = path("ferrari.cam");
    s.dialogs.chooseFile(target);
    s.save();
    const CameraDocument saved = s.document();
    QCOMPARE(readAll(target), serializeCameraFile(saved.DocumentHeader, saved.DocumentCameras));

    s.dialogs.carTypes.push_back(Lotus);
    s.makeNew();
    QVERIFY(sameBits(s.document().DocumentCameras, defaults().DefaultCameras(Lotus)));

    s.settings.writes.clear();
    s.dialogs.chooseFile(target);
    s.open();
    QVERIFY(s.dialogs.messages.isEmpty());
    QVERIFY(sameDocument(s.document(), saved));
    QCOMPARE(s.fileLabel(), QDir::toNativeSeparators(target));
    QCOMPARE(s.settings.writes, QStringList({FolderSetting, FilePathSetting, FileNameSetting}));
    QCOMPARE(s.settings.values.value(FolderSetting), m_dir->path());
    QCOMPARE(s.settings.values.value(FilePathSetting), target);
    QCOMPARE(s.settings.values.value(FileNameSetting), QStringLiteral("ferrari.cam"));

    // The same file twice gives the same document.
    s.dialogs.chooseFile(target);
    s.open();
    QVERIFY(sameDocument(s.document(), saved));
    QVERIFY(s.dialogs.unexpected.isEmpty());
}

void TestFileCommands::savingOverALongerFileLeavesACameraFile()
{
    const QString target = path("old.cam");
    QVERIFY(writeFile(target, QByteArray(300, 'x')));
    Session s;
    s.dialogs.chooseFile(target);
    s.save();
    QVERIFY(s.dialogs.messages.isEmpty());
    QCOMPARE(QFileInfo(target).size(), 228);

    const CameraDocument saved = s.document();
    s.dialogs.carTypes.push_back(Eagle);
    s.makeNew();
    s.dialogs.chooseFile(target);
    s.open();
    QVERIFY(s.dialogs.messages.isEmpty());
    QVERIFY(sameDocument(s.document(), saved));
}

void TestFileCommands::rejectedFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("message");

    QByteArray good = serializeCameraFile(MakeCCamHeader(), defaults().DefaultCameras(Lotus));
    const QString lengthMessage = QStringLiteral("File Length does not indicate Camera file");
    QTest::newRow("empty file") << QByteArray() << true << lengthMessage;
    QTest::newRow("missing file") << QByteArray() << false << lengthMessage;
    QTest::newRow("229 bytes") << good + QByteArray(1, '\0') << true << lengthMessage;
    QByteArray lower = good;
    lower.replace(0, 4, "macc");
    QTest::newRow("lower-case signature")
        << lower << true << QStringLiteral("Not A Vantage Camera File");
    QByteArray length215 = good;
    length215[8] = char(215);
    QTest::newRow("data length 215")
        << length215 << true << QStringLiteral("Unsupported Vantage Camera File or Unknown Type");
}

void TestFileCommands::rejectedFilesChangeNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, create);
    QFETCH(QString, message);

    const QString target = path("rejected.cam");
    if (create)
        QVERIFY(writeFile(target, bytes));

    Session s;
    s.dialogs.carTypes.push_back(Ferrari);
    s.makeNew();
    s.pendingEditOnCamera(3);
    QVERIFY(s.applyEnabled());
    const CameraDocument before = s.document();
    const int position = s.slider(0)->value();
    s.settings.writes.clear();

    s.dialogs.chooseFile(target);
    s.dialogs.answers.push_back(UserDialogs::Answer::Ok);
    s.open();

    QCOMPARE(s.dialogs.messages.size(), 1);
    QCOMPARE(s.dialogs.messages[0].text, message);
    QCOMPARE(s.dialogs.messages[0].title, QStringLiteral("Kestrel"));
    QCOMPARE(s.dialogs.messages[0].buttons, UserDialogs::Buttons::Ok);
    QVERIFY(sameDocument(s.document(), before));
    QCOMPARE(s.editor().ActiveCamera(), 3);
    QCOMPARE(s.slider(0)->value(), position);
    QVERIFY(s.applyEnabled());
    QCOMPARE(s.fileLabel(), QDir::toNativeSeparators(target));
    QCOMPARE(s.settings.values.value(FolderSetting), m_dir->path());
    QCOMPARE(s.settings.values.value(FilePathSetting), target);
    QCOMPARE(s.settings.values.value(FileNameSetting), QStringLiteral("rejected.cam"));
    // Opening a name that names nothing leaves nothing behind.
    QCOMPARE(QFileInfo::exists(target), create);
    if (create)
        QCOMPARE(readAll(target), bytes);
}

void TestFileCommands::loadingDropsPendingEditsWithoutAQuestion()
{
    const QString target = path("eagle.cam");
    const CameraSet eagle = defaults().DefaultCameras(Eagle);
    QVERIFY(writeFile(target, serializeCameraFile(MakeCCamHeader(), eagle)));

    Session s;
    s.pendingEditOnCamera(3);
    QCOMPARE(s.editor().ActiveCamera(), 3);
    s.dialogs.chooseFile(target);
    s.open();
    QVERIFY(s.dialogs.messages.isEmpty());
    QVERIFY(sameBits(s.document().DocumentCameras, eagle));
    QCOMPARE(s.editor().ActiveCamera(), 0);
    QCOMPARE(s.frameCaption(), QStringLiteral("Nose Camera"));
    for (int i = 0; i < CameraRecord::FieldCount; ++i)
        QCOMPARE(s.slider(i)->value(), positionForField(i, eagle[0].field(i)));
    QVERIFY(!s.applyEnabled());
}

void TestFileCommands::cancelledOpenChangesNothing()
{
    Session s;
    s.pendingEditOnCamera(2);
    const CameraDocument before = s.document();
    s.settings.writes.clear();
    s.dialogs.cancelFileDialog();
    s.open();
    QVERIFY(s.dialogs.messages.isEmpty());
    QVERIFY(s.settings.writes.isEmpty());
    QCOMPARE(s.fileLabel(), QString());
    QVERIFY(sameDocument(s.document(), before));
    QCOMPARE(s.editor().ActiveCamera(), 2);
    QVERIFY(s.applyEnabled());
}

void TestFileCommands::cancelledSaveKeepsTheApply()
{
    Session s;
    s.pendingEditOnCamera(1);
    const int position = s.slider(0)->value();
    s.settings.writes.clear();
    s.dialogs.cancelFileDialog();
    s.save();
    QVERIFY(s.dialogs.messages.isEmpty());
    QVERIFY(s.settings.writes.isEmpty());
    QCOMPARE(s.fileLabel(), QString());
    QVERIFY(!s.applyEnabled());
    QCOMPARE(s.document().DocumentCameras[1].X, fieldForPosition(0, position));
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TestFileCommands::shortNamesStop()
{
    Session s;
    const CameraDocument before = s.document();
    s.dialogs.chooseFile(QStringLiteral("x"));
    s.open();
    QVERIFY(s.dialogs.messages.isEmpty());
    QCOMPARE(s.fileLabel(), QStringLiteral("x"));
    QVERIFY(sameDocument(s.document(), before));

    s.dialogs.chooseFile(QStringLiteral("y"));
    s.save();
    QVERIFY(s.dialogs.messages.isEmpty());
    QCOMPARE(s.fileLabel(), QStringLiteral("y"));
    QVERIFY(!QFileInfo::exists(QStringLiteral("y")));
}

void TestFileCommands::carTypeDialogChoices()
{
    Session s;
    // Closed before any choice: Brabham.
    s.dialogs.carTypes.push_back(std::nullopt);
    s.makeNew();
    QCOMPARE(s.fileLabel(), QStringLiteral("brabham.cam"));
    QVERIFY(sameBits(s.document().DocumentCameras, defaults().DefaultCameras(Brabham)));

    s.dialogs.carTypes.push_back(Eagle);
    s.makeNew();
    QCOMPARE(s.window->fileCommands().Cartype(), qint16(Eagle));
    QCOMPARE(s.fileLabel(), QStringLiteral("eagle.cam"));

    // Closed by its close box: the make chosen last time, whatever the document became.
    s.pendingEditOnCamera(4);
    s.dialogs.carTypes.push_back(std::nullopt);
    s.makeNew();
    QCOMPARE(s.fileLabel(), QStringLiteral("eagle.cam"));
    QCOMPARE(s.settings.values.value(FileNameSetting), QStringLiteral("eagle.cam"));
    QVERIFY(sameBits(s.document().DocumentCameras, defaults().DefaultCameras(Eagle)));
    QVERIFY(s.document().DocumentHeader == defaults().DefaultHeader());
    QCOMPARE(s.editor().ActiveCamera(), 0);
    QVERIFY(!s.applyEnabled());

    // OK at once: Brabham again.
    s.dialogs.carTypes.push_back(Brabham);
    s.makeNew();
    QCOMPARE(s.fileLabel(), QStringLiteral("brabham.cam"));
    QCOMPARE(s.dialogs.carTypeRequests, 4);
    QVERIFY(s.dialogs.unexpected.isEmpty());
}

void TestFileCommands::dialogFailures_data()
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

void TestFileCommands::dialogFailures()
{
    QFETCH(int, code);
    QFETCH(QString, message);

    const QString target = path("lotus.cam");
    QVERIFY(
        writeFile(target, serializeCameraFile(MakeCCamHeader(), defaults().DefaultCameras(Lotus))));
    Session s;
    s.settings.writes.clear();

    // Open: Retry shows the dialog again, which then succeeds.
    s.dialogs.failFileDialog(code);
    s.dialogs.answers.push_back(UserDialogs::Answer::Retry);
    s.dialogs.chooseFile(target);
    s.open();
    QCOMPARE(s.dialogs.messages.size(), 1);
    QCOMPARE(s.dialogs.messages[0].text, message);
    QCOMPARE(s.dialogs.messages[0].title, QStringLiteral("Kestrel"));
    QCOMPARE(s.dialogs.messages[0].buttons, UserDialogs::Buttons::RetryCancel);
    QCOMPARE(s.dialogs.fileRequests.size(), 2);
    QVERIFY(sameBits(s.document().DocumentCameras, defaults().DefaultCameras(Lotus)));

    // Save: Cancel ends the command; nothing written, no file, no setting.
    s.settings.writes.clear();
    s.dialogs.failFileDialog(code);
    s.dialogs.answers.push_back(UserDialogs::Answer::Cancel);
    const QByteArray before = readAll(target);
    s.save();
    QCOMPARE(s.dialogs.messages.size(), 2);
    QCOMPARE(s.dialogs.messages[1].text, message);
    QCOMPARE(s.dialogs.fileRequests.size(), 3);
    QCOMPARE(s.fileLabel(), QString());
    QVERIFY(s.settings.writes.isEmpty());
    QCOMPARE(readAll(target), before);
    QVERIFY(s.dialogs.allAnswersUsed());
    QVERIFY(s.dialogs.unexpected.isEmpty());
}

void TestFileCommands::retryThenCancelEndsQuietly()
{
    Session s;
    const CameraDocument before = s.document();
    s.settings.writes.clear();
    s.dialogs.failFileDialog(55);
    s.dialogs.answers.push_back(UserDialogs::Answer::Retry);
    s.dialogs.failFileDialog(57);
    s.dialogs.answers.push_back(UserDialogs::Answer::Retry);
    s.dialogs.cancelFileDialog();
    s.open();
    QCOMPARE(s.dialogs.messages.size(), 2);
    QCOMPARE(s.dialogs.fileRequests.size(), 3);
    QCOMPARE(s.fileLabel(), QString());
    QVERIFY(s.settings.writes.isEmpty());
    QVERIFY(sameDocument(s.document(), before));
    QVERIFY(s.dialogs.allAnswersUsed());

    s.dialogs.failFileDialog(52);
    s.dialogs.answers.push_back(UserDialogs::Answer::Retry);
    s.dialogs.cancelFileDialog();
    s.save();
    QCOMPARE(s.dialogs.messages.size(), 3);
    QCOMPARE(s.fileLabel(), QString());
    QVERIFY(s.settings.writes.isEmpty());
    QVERIFY(s.dialogs.unexpected.isEmpty());
}

void TestFileCommands::failedSaveReportsAndKeepsWhatWasThere_data()
{
    QTest::addColumn<QString>("blocker"); // what is in the way, relative to the folder
    QTest::addColumn<QString>("target");
    QTest::newRow("path through a regular file") << "plain.cam"
                                                 << "plain.cam/x.cam";
    QTest::newRow("folder where the file should be") << "folder.cam/"
                                                     << "folder.cam";
    QTest::newRow("folder that does not exist") << QString() << "nowhere/x.cam";
    // Permission bits stop only users other than root.
    if (geteuid() != 0)
        QTest::newRow("read-only folder") << "locked/old.cam"
                                          << "locked/old.cam";
}

void TestFileCommands::failedSaveReportsAndKeepsWhatWasThere()
{
    QFETCH(QString, blocker);
    QFETCH(QString, target);

    const QByteArray oldBytes("the file that was there");
    if (blocker.endsWith('/')) {
        QVERIFY(QDir(m_dir->path()).mkpath(blocker + "inside"));
    } else if (!blocker.isEmpty()) {
        QVERIFY(QDir(m_dir->path()).mkpath(QFileInfo(path(blocker)).path()));
        QVERIFY(writeFile(path(blocker), oldBytes));
    }
    const bool readOnlyFolder = blocker.startsWith(QStringLiteral("locked/"));
    if (readOnlyFolder)
        QVERIFY(QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner));

    Session s;
    s.editor().apply(); // what the save applies first, so the document can be compared
    const CameraDocument before = s.document();
    s.dialogs.chooseFile(path(target));
    s.dialogs.answers.push_back(UserDialogs::Answer::Ok);
    s.save();

    if (readOnlyFolder)
        QFile::setPermissions(path("locked"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(s.dialogs.messages.size(), 1);
    QCOMPARE(s.dialogs.messages[0].title, QStringLiteral("Kestrel"));
    QCOMPARE(s.dialogs.messages[0].buttons, UserDialogs::Buttons::Ok);
    QVERIFY2(s.dialogs.messages[0].text.contains(QDir::toNativeSeparators(path(target))),
             qPrintable(s.dialogs.messages[0].text));
    QVERIFY(sameDocument(s.document(), before));
    QCOMPARE(s.fileLabel(), QDir::toNativeSeparators(path(target)));

    if (blocker.endsWith('/'))
        QVERIFY(QFileInfo(path(blocker + "inside")).isDir());
    else if (!blocker.isEmpty())
        QCOMPARE(readAll(path(blocker)), oldBytes);
    else
        QVERIFY(!QFileInfo::exists(QFileInfo(path(target)).path()));
    // No temporary file is left behind.
    QStringList left = QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QVERIFY2(left.size() <= 1, qPrintable(left.join(' ')));
}

QTEST_MAIN(TestFileCommands)
#include "test_filecommands.moc"
