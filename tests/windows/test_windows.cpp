// What Windows does its own way: a file another program holds open without sharing,
// names with drive letters, backslashes and non-ASCII characters, and kestrel-cam's
// standard input and output, which carry camera files and pictures byte for byte.

#include "camerafile.h"
#include "emptyfolder.h"
#include "kestrelcam.h"
#include "moddefaultvariablesetup.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <bit>

#include <windows.h>

namespace {

QByteArray camBytes(int make)
{
    return serializeCameraFile({MakeCCamHeader(), SetupDefaults().DefaultCameras(make)});
}

const QByteArray Brabham = camBytes(0);
const QByteArray Lotus = camBytes(5);

// Lotus with the bytes a text stream changes: LF (written as CR LF), CR LF (read as
// LF) and, from Lotus, Ctrl-Z (read as the end of the input).
QByteArray awkwardBytes()
{
    CameraSet cameras = SetupDefaults().DefaultCameras(5);
    cameras[0].X = std::bit_cast<float>(quint32(0x3f0a0d0a)); // 0A 0D 0A 3F
    return serializeCameraFile({MakeCCamHeader(), cameras});
}
const QByteArray Awkward = awkwardBytes();

// A file held open as a running program may hold it: no other program may read, write
// or replace it meanwhile.
class Held
{
public:
    explicit Held(const QString &path)
        : m_handle(::CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ,
                                 0, // no sharing
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~Held()
    {
        if (isOpen())
            ::CloseHandle(m_handle);
    }
    bool isOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString put(const QString &name, const QByteArray &bytes) const
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
        return file.fileName();
    }
    QByteArray contents(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

private slots:
    void init() { QVERIFY(emptyFolder(m_dir.path())); }

    // The simulator holds its camera files open while it runs: a save is refused with
    // the system's reason and leaves the old file whole; so is a read.
    void fileHeldOpen()
    {
        const QString path = put("held.cam", Brabham);
        const QString native = QDir::toNativeSeparators(path);
        {
            const Held held(path);
            QVERIFY(held.isOpen());
            QString error;
            QVERIFY(!writeFileAtomically(path, Lotus, &error));
            QVERIFY2(error.startsWith("Cannot save " + native + ":\n") && error.endsWith('.') &&
                         !error.endsWith(".."),
                     qPrintable(error));
            QCOMPARE(entries(), QStringList{"held.cam"}); // no temporary file left

            CameraFileReader reader;
            QCOMPARE(reader.read(path), CameraFileStatus::ReadError);
            QVERIFY2(reader.errorString().startsWith("Cannot open " + native + ":\n"),
                     qPrintable(reader.errorString()));

            QString err;
            QTextStream errStream(&err);
            QBuffer out;
            out.open(QIODevice::WriteOnly);
            QCOMPARE(kestrelcam::runKestrelCam({"set", path, "nose.x=1"}, out, errStream), 2);
            errStream.flush();
            QVERIFY2(err.startsWith("kestrel-cam: " + native + ": "), qPrintable(err));
        }
        QCOMPARE(contents(path), Brabham);
        QString error;
        QVERIFY2(writeFileAtomically(path, Lotus, &error), qPrintable(error));
        QCOMPARE(contents(path), Lotus);
    }

    // Names as Windows users write them: backslashes or slashes, a drive letter, a
    // long-path prefix, characters beyond ASCII; messages show backslashes.
    void windowsNames()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("Café"));
        const QString folder = QDir::toNativeSeparators(m_dir.filePath("Café"));
        QVERIFY(folder.at(1) == ':' && folder.contains('\\'));
        const QString file = folder + "\\Pérez.cam";
        QString error;
        QVERIFY2(writeFileAtomically(file, Lotus, &error), qPrintable(error));
        CameraFileReader reader;
        for (const QString &name : {file, QDir::fromNativeSeparators(file), "\\\\?\\" + file}) {
            QCOMPARE(reader.read(name), CameraFileStatus::Ok);
            QCOMPARE(serializeCameraFile(reader.document()), Lotus);
        }
        const QString missing = QDir::fromNativeSeparators(folder) + "/nowhere/Pérez.cam";
        QVERIFY(!writeFileAtomically(missing, Lotus, &error));
        QVERIFY2(error.startsWith("Cannot create " + folder + "\\nowhere\\Pérez.cam:\n"),
                 qPrintable(error));
        QVERIFY(!writeFileAtomically(file + "/x.cam", Lotus, &error)); // through a file
        QVERIFY2(error.startsWith("Cannot create " + file + "\\x.cam:\n"), qPrintable(error));
        QCOMPARE(contents(file), Lotus);
    }

    // The executable's standard input and output: binary files byte for byte, text
    // lines ended as Windows' console programs end them, names beyond ASCII intact.
    void standardStreams()
    {
        const QString program = QStringLiteral(KESTREL_CAM_PATH);
        QProcess process;
        const auto exec = [&](const QStringList &arguments, const QByteArray &input = {}) {
            process.start(program, arguments);
            process.write(input);
            process.closeWriteChannel();
            QVERIFY(process.waitForFinished(60000));
            QCOMPARE(process.readAllStandardError(), QByteArray());
            QCOMPARE(process.exitCode(), 0);
        };
        QVERIFY(Awkward.contains("\r\n") && Awkward.count('\n') == 2 && Awkward.contains('\x1a'));
        exec({"new", "lotus", "-o", "-"});
        QCOMPARE(process.readAllStandardOutput(), Lotus);

        exec({"show", "-", "-c", "nose"}, Awkward);
        const QByteArray shown = process.readAllStandardOutput();
        QVERIFY(shown.count('\n') > 5);
        QCOMPARE(shown.count("\r\n"), shown.count('\n'));
        QCOMPARE(shown.count('\r'), shown.count('\n'));
        QVERIFY2(shown.contains("0.539"), shown.constData()); // X as read, whole

        exec({"export", "-", "-o", "-"}, Awkward);
        const QByteArray json = process.readAllStandardOutput();
        exec({"import", "-", "-o", "-"}, json);
        QCOMPARE(process.readAllStandardOutput(), Awkward);

        exec({"render", "-", "-c", "nose", "-o", "-"}, Lotus);
        QImage picture;
        QVERIFY(picture.loadFromData(process.readAllStandardOutput(), "PNG"));
        QVERIFY(!picture.isNull());

        const QString named = put("Pérez.cam", Brabham);
        exec({"set", QDir::toNativeSeparators(named), "nose.x=1", "-q"});
        QCOMPARE(contents(named).mid(12, 4).toHex(), "0000803f"); // 1 m
    }
};

QTEST_GUILESS_MAIN(TestWindows)
#include "test_windows.moc"
