// The persisted settings: a test location, never the user's.

#include "settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

namespace {

QSettings kestrelSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kestrel"),
                     QStringLiteral("Kestrel"));
}

QString settingsFile()
{
    return kestrelSettings().fileName();
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void missingKeysReadAsDefaults();
    void roundTripUnderSectionAndKey();
    void unusableStoreFallsBackToDefaults();
};

void TestSettingsStore::initTestCase()
{
    // Before the first QSettings of the process: the location is cached.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(settingsFile().contains(QStringLiteral(".qttest")));
}

void TestSettingsStore::init()
{
    cleanup();
}

void TestSettingsStore::cleanup()
{
    const QString file = settingsFile();
    if (QFileInfo(file).isDir())
        QDir(file).removeRecursively();
    QFile::remove(file);
}

void TestSettingsStore::missingKeysReadAsDefaults()
{
    QtSettingsStore store;
    QCOMPARE(store.read("Startup", "MostRecentFilePath", "/home/x"), QStringLiteral("/home/x"));
    QCOMPARE(store.read("LastFileNameOpened", "LastFileNameOpened1", QString()), QString());
    store.write("Startup", "MostRecentFilePath", "/data/cams");
    // Another key of the same section is still missing.
    QCOMPARE(store.read("Startup", "Other", "d"), QStringLiteral("d"));
}

void TestSettingsStore::roundTripUnderSectionAndKey()
{
    {
        QtSettingsStore store;
        store.write("Startup", "MostRecentFilePath", "C:\\cams, new");
        store.write("LastFileNameOpened", "LastFileNameOpened1", "brabham.cam");
        store.write("LastFilePathOpened", "LastFilePathOpened1", "/data/cams/lotus.cam");
    }
    // A new store, as after a restart, reads what was written.
    QtSettingsStore store;
    QCOMPARE(store.read("Startup", "MostRecentFilePath", "x"), QStringLiteral("C:\\cams, new"));
    QCOMPARE(store.read("LastFileNameOpened", "LastFileNameOpened1", "x"),
             QStringLiteral("brabham.cam"));
    QCOMPARE(store.read("LastFilePathOpened", "LastFilePathOpened1", "x"),
             QStringLiteral("/data/cams/lotus.cam"));

    // Stored under application "Kestrel", section and key.
    QSettings raw = kestrelSettings();
    QCOMPARE(raw.value("Startup/MostRecentFilePath").toString(), QStringLiteral("C:\\cams, new"));
    QCOMPARE(raw.value("LastFileNameOpened/LastFileNameOpened1").toString(),
             QStringLiteral("brabham.cam"));

    store.write("LastFileNameOpened", "LastFileNameOpened1", "/data/cams/lotus.cam");
    QCOMPARE(store.read("LastFileNameOpened", "LastFileNameOpened1", "x"),
             QStringLiteral("/data/cams/lotus.cam"));
}

void TestSettingsStore::unusableStoreFallsBackToDefaults()
{
    // A folder where the settings file should be can be neither read nor written.
    const QString file = settingsFile();
    QVERIFY(QDir().mkpath(file));
    QtSettingsStore store;
    store.write("Startup", "MostRecentFilePath", "/data/cams");
    QCOMPARE(store.read("Startup", "MostRecentFilePath", "/home/x"), QStringLiteral("/home/x"));
    QVERIFY(QFileInfo(file).isDir());
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
