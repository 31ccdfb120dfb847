// kestrel-cam's commands, called in-process on temporary files, and the executable once.

#include "camerafile.h"
#include "camerajson.h"
#include "emptyfolder.h"
#include "fulldisk.h"
#include "kestrelcam.h"
#include "moddefaultvariablesetup.h"
#include "slidervalues.h"
#include "systemtext.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cfloat>
#include <tuple>
#ifndef Q_OS_WIN
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QByteArray camBytes(const CameraSet &cameras, qint32 reserved = 0)
{
    CameraFileHeader header = MakeCCamHeader();
    header.Reserved = reserved;
    return serializeCameraFile({header, cameras});
}

const CameraSet Brabham = SetupDefaults().DefaultCameras(0);

struct Result
{
    int code;
    QString out;
    QString err;

    bool operator==(const Result &) const = default;
};

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString put(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
        return file.fileName();
    }
    QByteArray contents(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    // Runs one command line; "@name" stands for a file in the temporary folder.
    Result run(QStringList arguments) const
    {
        for (QString &argument : arguments)
            argument.replace(QLatin1Char('@'), m_dir.path() + QLatin1Char('/'));
        QBuffer outBuffer;
        outBuffer.open(QIODevice::WriteOnly);
        QString err;
        QTextStream errStream(&err);
        const int code = kestrelcam::runKestrelCam(arguments, outBuffer, errStream);
        errStream.flush();
        QString out = QString::fromUtf8(outBuffer.data());
        return {code, folderAsMark(out, m_dir.path()), folderAsMark(err, m_dir.path())};
    }

private slots:
    void init() { QVERIFY(emptyFolder(m_dir.path())); }

    // Export then import gives back the same 228 bytes: NaN payloads, signed zeros,
    // denormals, infinities and the largest finite values included.
    void jsonRoundTrip()
    {
        const quint32 edges[] = {0x80000000, 0x00000001, 0x807fffff, 0x7f7fffff, 0xff7fffff,
                                 0x7f800000, 0xff800000, 0x7fc00001, 0xffbfffff, 0x15ae43fd};
        QRandomGenerator rng(20261209);
        for (int round = 0; round < 400; ++round) {
            CameraSet cameras{};
            for (int i = 0; i < CameraCount * CameraRecord::FieldCount; ++i) {
                const int kind = rng.bounded(4);
                const quint32 bits = kind == 0   ? edges[rng.bounded(10)]
                                     : kind == 1 ? (rng.generate() | 0x7f800000) // NaN or inf
                                                 : rng.generate();
                cameras[i / 9].setField(i % 9,
                                        round ? floatFromBits(bits) : Brabham[i / 9].field(i % 9));
            }
            const QByteArray bytes = camBytes(cameras);
            put("r.cam", bytes);
            QCOMPARE(run({"export", "@r.cam", "-o", "@r.json", "--force"}).code, 0);
            QCOMPARE(run({"import", "@r.json", "-o", "@back.cam", "--force"}).code, 0);
            QCOMPARE(contents("back.cam").toHex(), bytes.toHex());
        }
    }

    // Each make's file against the SHA-256 of its 228 bytes, made outside the program
    // from the published default table.
    void newForEveryMake()
    {
        const char *hashes[CarTypeCount] = {
            "988876dd458b28f14f7c40ac0fc376a7a6a34f04bab414ee72020aa8d6b4c3e2",
            "0c7bade3fd4c8d40591248a70ccce49223b501691d18d96d51068e9a7347ae9e",
            "859b022443594835ece8285de3405d9dd520757078d90e18c3dd768c75f9c02f",
            "1edf3d9d0deb071542de7a2d9ff0be4ba613ff1627370048049f164a02852eeb",
            "033cbb89c3bb13905d6fee6372a1d355ad3899cdcb0ec44a9ec7dcc342e05c0f",
            "e76a7b5a9711e2e2378ccc6bc9aa5986a0fc8a13cea65560a4982db7237d65a6",
            "3b6ce20cd11112bb6b9a3fa365ac05c3238770f5db094765a83339984cb9ad00"};
        const QStringList spellings = {"brabham", "BRM",   "Coventry", "EAGLE",
                                       "ferRari", "lotus", "Murasama"};
        for (int car = 0; car < CarTypeCount; ++car) {
            QCOMPARE(run({"new", spellings[car], "-o", "@new.cam", "-f"}).code, 0);
            const QByteArray bytes = contents("new.cam");
            QCOMPARE(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(),
                     QByteArray(hashes[car]));
        }
        QCOMPARE(run({"new", "brabham", "-o", "@new.cam", "-f"}).code, 0);
        QCOMPARE(contents("new.cam").mid(12, 4).toHex(), "06bb1440");
        QCOMPARE(contents("new.cam").right(4).toHex(), "000000be");
    }

    // set stores what the editor stores after a typed entry and Apply.
    void setAsTypedEntry_data()
    {
        QTest::addColumn<QString>("assignment");
        QTest::addColumn<int>("camera");
        QTest::addColumn<int>("field");
        QTest::addColumn<float>("stored");
        QTest::newRow("0.002 m, half to even down") << "nose.x=0.002" << 0 << 0 << 0.0f;
        QTest::newRow("0.006 m, half to even up") << "1.X=0.006" << 1 << 0 << 0.008f;
        QTest::newRow("Z -0.4 m, the slider's end") << "rollbar.z=-0.4" << 3 << 2 << -0.4f;
        QTest::newRow("120 m") << "rearsusp.y=120" << 5 << 1 << 120.0f;
        QTest::newRow("zoom -0.004, a plain zero") << "Zeppelin.Zoom=-0.004" << 2 << 6 << 0.0f;
        QTest::newRow("yaw1 -180, blanks and exponent")
            << "frontsusp.yaw1= -1.8e2 " << 4 << 3 << -3.1415927f;
        QTest::newRow("pitch2 -7.16") << "5.pitch2=-7.16" << 5 << 8 << floatFromBits(0xbdffedf3);
    }
    void setAsTypedEntry()
    {
        QFETCH(QString, assignment);
        QFETCH(int, camera);
        QFETCH(int, field);
        QFETCH(float, stored);
        // Values the slider cannot hold, and a Reserved field the save does not keep.
        CameraSet cameras = Brabham;
        cameras[camera].setField((field + 1) % 9, floatFromBits(0x7fc00001));
        cameras[camera].setField((field + 2) % 9, 1e30f);
        put("in.cam", camBytes(cameras, 9));
        const QByteArray input = camBytes(cameras, 9);
        QCOMPARE(run({"set", "@in.cam", assignment, "-o", "@out.cam", "--force"}).code, 0);
        QCOMPARE(contents("in.cam"), input);
        cameras[camera].setField(field, stored);
        QCOMPARE(contents("out.cam").toHex(), camBytes(cameras).toHex());

        // In place, all six at once.
        QCOMPARE(run({"set", "@out.cam", "all.zoom=75", "*.bank=1"}).code, 0);
        CameraDocument document;
        QCOMPARE(parseCameraFile(contents("out.cam"), &document), CameraFileStatus::Ok);
        for (const CameraRecord &record : document.DocumentCameras) {
            QCOMPARE(floatBits(record.Zoom), floatBits(1.3089969f));
            QCOMPARE(floatBits(record.Bank), floatBits(0.017453292f));
        }
    }

    // Every refusal: its exit code, its one line, and the target left as it was.
    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("json"); // written to @in.json first
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("error");
        // The exported Brabham document with occurrence n of `from` replaced.
        const auto jsonWith = [](const QString &from, const QString &to, int n = 0) {
            QString text =
                QString::fromUtf8(kestrelcam::exportCameraJson({MakeCCamHeader(), Brabham}));
            qsizetype at = text.indexOf(from);
            for (int i = 0; i < n; ++i)
                at = text.indexOf(from, at + 1);
            return text.replace(at, from.size(), to).toUtf8();
        };
        const QStringList import = {"import", "@in.json", "-o", "@target.cam", "--force"};
        const auto row = [&](const char *name, const QByteArray &json, const QString &error) {
            QTest::newRow(name) << import << json << 1 << "kestrel-cam: @in.json: " + error + "\n";
        };
        // The document's own refusals are test_camerajson's; one of them, as import tells it.
        row("1e400", jsonWith("\"Zoom\": 77.99428", "\"Zoom\": 1e400", 2),
            "cameras[2].Zoom: beyond the largest binary32 value");
        row("over 1 MiB", QByteArray(1024 * 1024 + 1, ' '), "larger than 1 MiB");
        QTest::newRow("missing JSON")
            << QStringList{"import", "@none.json", "-o", "@target.cam", "-f"} << QByteArray() << 2
            << "kestrel-cam: @none.json: No such file or directory\n";

        const auto usage = [](const char *name, QStringList arguments, const QString &error,
                              const char *command = nullptr) {
            QTest::newRow(name) << arguments << QByteArray() << 2
                                << QStringLiteral("kestrel-cam: %1; see 'kestrel-cam%2 --help'\n")
                                       .arg(error, command ? QString(" ") + command : QString());
        };
        usage("no command", {}, "missing command");
        usage("unknown command", {"frob"}, "unknown command 'frob'");
        usage("unknown option", {"show", "-x", "@target.cam"}, "Unknown option 'x'", "show");
        usage("missing -o", {"new", "lotus"}, "-o FILE is needed", "new");
        usage("missing file", {"set", "nose.x=1"}, "missing FILE", "set");
        usage("copy, missing destination", {"copy", "@bad.cam", "nose"}, "missing DEST", "copy");
        usage("diff, missing B", {"diff", "@bad.cam"}, "missing B", "diff");
        usage("unexpected argument", {"diff", "@target.cam", "@bad.cam", "@short.cam"},
              "unexpected argument '@short.cam'", "diff");
        usage("-o with two files", {"set", "@target.cam", "@bad.cam", "x.x=1", "-o", "@o.cam"},
              "-o takes one FILE", "set");
        usage("a file named twice", {"set", "@target.cam", "@./target.cam", "nose.x=1"},
              "'" + QDir::toNativeSeparators("@./target.cam") + "' is named twice", "set");
        usage("no assignment", {"set", "@target.cam", "@bad.cam"}, "missing CAMERA.FIELD=VALUE",
              "set");
        usage("--to for all", {"copy", "@bad.cam", "all", "@target.cam", "--to", "nose"},
              "--to takes one camera, for one camera copied", "copy");
        usage("copy, unknown camera", {"copy", "@bad.cam", "wing", "@target.cam"},
              "unknown camera 'wing'", "copy");
        usage("show, unknown camera", {"show", "@target.cam", "-c", "wing"},
              "unknown camera 'wing'", "show");
        usage("empty -o", {"export", "@target.cam", "-o", ""}, "-o needs a file name", "export");
        usage("-o twice", {"new", "lotus", "-o", "@a.cam", "-o", "@b.cam"},
              "-o is given more than once", "new");
        usage("--force without -o", {"export", "@target.cam", "--force"}, "--force goes with -o",
              "export");
        usage("set in place with --force", {"set", "@target.cam", "-f", "nose.x=1"},
              "--force goes with -o", "set");
        QTest::newRow("unknown make")
            << QStringList{"new", "Tyrrell", "-o", "@x.cam"} << QByteArray() << 2
            << "kestrel-cam: unknown make 'Tyrrell'\n";
        const auto set = [](const char *name, const QString &assignment, int code,
                            const QString &error) {
            QTest::newRow(name) << QStringList{"set", "@target.cam", "nose.x=1", assignment}
                                << QByteArray() << code << "kestrel-cam: " + error + "\n";
        };
        set("unknown camera", "wing.x=1", 2, "'wing.x=1': unknown camera 'wing'");
        set("unknown field", "nose.roll=1", 2, "'nose.roll=1': unknown field 'roll'");
        set("named twice through all", "ALL.X=2", 2, "'ALL.X=2': nose.x is named twice");
        set("empty value", "gearbox.x=", 2, "'gearbox.x=': no value");
        set("181 degrees", "nose.yaw1=181", 1,
            "nose.yaw1=181: Value outside of range (-180 to 180 degrees)");
        set("zoom -0.006", "nose.zoom=-0.006", 1,
            "nose.zoom=-0.006: Value outside of range (0 to 180 degrees)");
        set("-0.41 m", "nose.z=-0.41", 1, "nose.z=-0.41: Value outside of range (-0.4 to 120 m)");
        set("130 m", "rearsusp.y=130", 1, "rearsusp.y=130: Value outside of range (-120 to 120 m)");
        set("metres not numeric", "nose.y=1,5", 1, "nose.y=1,5: Entered Value must be numeric");
        set("degrees not numeric", "nose.bank=nan", 1,
            "nose.bank=nan: Entered value must be numeric");

        // Outputs: never over an existing file without --force, never anything but a file.
        const auto out = [](const char *name, const QString &to, const QString &error,
                            bool force = true) {
            QStringList arguments{"export", "@target.cam", "-o", to};
            if (force)
                arguments << "--force";
            QTest::newRow(name) << arguments << QByteArray() << 2 << "kestrel-cam: " + error + "\n";
        };
        out("existing without --force", "@target.cam", "@target.cam: exists; --force replaces it",
            false);
        out("onto a folder", "@folder", "@folder: not a regular file, left as it is");
#ifndef Q_OS_WIN // Windows gives its own reasons (see test_windows)
        out("into a missing folder", "@missing/x.json",
            "Cannot create @missing/x.json: No such file or directory.");
        out("through a regular file", "@target.cam/x.json",
            "Cannot create @target.cam/x.json: Not a directory.");
#endif

        // Rejected camera files, as the editor's open rejects them, and names that are no file.
        const QString length = "File Length does not indicate Camera file (%1; a camera file "
                               "has 228)";
        const auto input = [](const char *command, const char *file, int code,
                              const QString &error) {
            QStringList arguments{command, file};
            if (QByteArray(command) == "set")
                arguments << "nose.x=1";
            if (QByteArray(command) == "diff")
                arguments.prepend("@target.cam"), arguments.swapItemsAt(0, 1);
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(command, file)))
                << arguments << QByteArray() << code
                << QStringLiteral("kestrel-cam: %1: %2\n").arg(file, error);
        };
        for (const char *command : {"show", "check", "diff", "export", "set"}) {
            input(command, "@none.cam", 2, "No such file or directory");
            input(command, "@folder", 2, "Is a directory");
#ifndef Q_OS_WIN // links, devices and the process's memory as files are POSIX's
            input(command, "@dangling.cam", 2, "No such file or directory");
            input(command, "@loop.cam", 2, "Too many levels of symbolic links");
            input(command, "/proc/self/mem", 2, "Input/output error");
            if (QByteArray(command) != "check")
                input(command, "/dev/zero", 1, length.arg("more than 228 bytes"));
#endif
            if (QByteArray(command) != "check") {
                input(command, "@short.cam", 1, length.arg("227 bytes"));
                input(command, "@empty.cam", 1, length.arg("0 bytes"));
            }
        }
        QTest::newRow("diff, both rejected")
            << QStringList{"diff", "@short.cam", "@bad.cam"} << QByteArray() << 1
            << "kestrel-cam: @short.cam: " + length.arg("227 bytes") +
                   "\nkestrel-cam: @bad.cam: Not A Vantage Camera File\n";
    }
    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, json);
        QFETCH(int, code);
        QFETCH(QString, error);
        QDir(path("folder")).mkpath(".");
        put("in.json", json);
        put("short.cam", camBytes(Brabham).left(227));
        put("bad.cam", QByteArray(camBytes(Brabham)).replace(0, 4, "macc"));
        put("empty.cam", QByteArray());
        QFile::link(path("nowhere"), path("dangling.cam"));
        QFile::link(path("loop.cam"), path("loop.cam"));
        const QByteArray before = camBytes(Brabham, 3);
        put("target.cam", before);
        const Result result = run(arguments);
        QCOMPARE(result.err, error);
        QCOMPARE(result.code, code);
        QCOMPARE(result.out, QString());
        QCOMPARE(contents("target.cam"), before);
        QCOMPARE(
            QDir(m_dir.path())
                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList({"bad.cam", "dangling.cam", "empty.cam", "folder", "in.json", "loop.cam",
                         "short.cam", "target.cam"}));
    }

    // A value no slider holds imports, as the file format allows it, and is told.
    void importWarnings()
    {
        QString json = QString::fromUtf8(kestrelcam::exportCameraJson({MakeCCamHeader(), Brabham}));
        json.replace("\"X\": 2.323915,", "\"X\": 130,");
        json.replace("\"Zoom\": 69.972645,", "\"Zoom\": 200,");
        put("w.json", json.toUtf8());
        const Result result = run({"import", "@w.json", "-o", "@w.cam"});
        QCOMPARE(result.code, 0);
        QCOMPARE(result.err,
                 "kestrel-cam: @w.json: cameras[0].X: 130 m is beyond the slider's range "
                 "(-120 to 120 m); the editor shows 120\n"
                 "kestrel-cam: @w.json: cameras[5].Zoom: 200 degrees is beyond the "
                 "slider's range (0 to 180 degrees); the editor shows 180\n");
        QCOMPARE(contents("w.cam").mid(12, 4).toHex(), "00000243"); // 130
    }

    void checkLines()
    {
        CameraSet cameras = Brabham;
        cameras[0].X = 1000;                         // beyond 120 m
        cameras[1].Zoom = floatFromBits(0x7fc00001); // NaN
        cameras[2].Yaw1 = -INFINITY;
        cameras[3].Z = -0.4f;         // the slider's end: held
        cameras[4].Yaw2 = 5.2359877f; // 300 degrees: held
        cameras[5].Yaw2 = 5.25f;      // 300.80 degrees
        put("odd.cam", camBytes(cameras));
        put("bad.cam", QByteArray(camBytes(Brabham)).replace(8, 1, "\xd9"));
        put("short.cam", camBytes(Brabham).left(227));
        const Result result = run({"check", "@odd.cam", "@bad.cam", "@short.cam", "@odd.cam"});
        const QString odd =
            "@odd.cam: ok\n"
            "@odd.cam: nose.x: 1000 m is beyond the slider's range (-120 to 120 m); the editor "
            "shows 120\n"
            "@odd.cam: gearbox.zoom: nan(0x7fc00001) is not a number; the editor shows 0\n"
            "@odd.cam: zeppelin.yaw1: -inf degrees is beyond the slider's range (-181 to 181 "
            "degrees); the editor shows -181\n"
            "@odd.cam: rearsusp.yaw2: 300.80284 degrees is beyond the slider's range (-300 to "
            "300 degrees); the editor shows 300\n";
        QCOMPARE(result.out, odd + "@bad.cam: Unsupported Vantage Camera File or Unknown Type\n" +
                                 "@short.cam: File Length does not indicate Camera file (227 "
                                 "bytes; a camera file has 228)\n" +
                                 odd);
        QCOMPARE(result.code, 1);
        QCOMPARE(run({"check", "@odd.cam"}).code, 0);
    }

    // show fits an 80-column terminal for every make, in every layout, and --exact
    // gives back the stored values.
    void showLayouts()
    {
        const DefaultTable defaults = SetupDefaults();
        for (int car = 0; car < CarTypeCount; ++car) {
            CameraSet cameras = defaults.DefaultCameras(car);
            cameras[car % 6].Y = -119.996f; // the widest value a slider holds
            put("m.cam", camBytes(cameras));
            for (const QStringList &options :
                 {QStringList(), QStringList{"--exact"}, QStringList{"-c", "all"},
                  QStringList{"-c", "all", "--exact"}}) {
                const Result result = run(QStringList{"show", "@m.cam"} + options);
                QCOMPARE(result.code, 0);
                for (const QString &line : result.out.split('\n'))
                    QVERIFY2(line.size() <= 80, qPrintable(line));
            }
            // The exact texts read back as the stored bits: metres as the nearest binary32,
            // degrees through the editor's factor, rounded once.
            const QStringList lines = run({"show", "@m.cam", "--exact"}).out.split('\n');
            for (int half = 0; half < 2; ++half) {
                for (int field = 0; field < CameraRecord::FieldCount; ++field) {
                    const QStringList cells =
                        lines[half * 11 + 1 + field].split(' ', Qt::SkipEmptyParts);
                    QCOMPARE(cells.size(), 2 + 3);
                    for (int i = 0; i < 3; ++i) {
                        const double number = cells[2 + i].toDouble();
                        const float stored = field < 3 ? cells[2 + i].toFloat()
                                                       : float(number * (3.141592654 / 180));
                        QCOMPARE(floatBits(stored), floatBits(cameras[half * 3 + i].field(field)));
                    }
                }
            }
        }
        put("b.cam", camBytes(Brabham));
        const QStringList table = run({"show", "@b.cam"}).out.split('\n');
        QCOMPARE(table[0], "                 nose    gearbox zeppelin *    rollbar  frontsusp"
                           "   rearsusp");
        QCOMPARE(table[1], "x m             2.324     -1.304     -0.399     -0.104      0.525"
                           "      0.103");
        QCOMPARE(table[7], "zoom deg        77.99      77.99      77.99      77.99      77.99"
                           "      69.97");
        QCOMPARE(table[10], "* Zeppelin/Shoulder view not visible during replays.");

        // One camera as a list; values no slider holds and values that are not finite.
        CameraSet odd = Brabham;
        odd[3].X = 1e30f;
        odd[3].Yaw1 = floatFromBits(0xffc00005);
        put("o.cam", camBytes(odd));
        QCOMPARE(run({"show", "@o.cam", "-c", "ROLLBAR"}).out, "Roll Bar Camera (rollbar)\n"
                                                               "\n"
                                                               "  field   unit            value\n"
                                                               "  ------  -------  ------------\n"
                                                               "  x       m              1e+30\n"
                                                               "  y       m              0.000\n"
                                                               "  z       m              0.598\n"
                                                               "  yaw1    degrees nan(0xffc00005)\n"
                                                               "  pitch1  degrees         9.94\n"
                                                               "  bank    degrees         0.00\n"
                                                               "  zoom    degrees        77.99\n"
                                                               "  yaw2    degrees         0.00\n"
                                                               "  pitch2  degrees        -7.16\n");

        // Several files one after the other, each headed by its name; a rejected one
        // is told and the others are shown.
        put("bad.cam", "MACC");
        const Result several = run({"show", "@b.cam", "@bad.cam", "@o.cam", "-c", "2"});
        QCOMPARE(several.code, 1);
        QCOMPARE(several.err, "kestrel-cam: @bad.cam: File Length does not indicate Camera file "
                              "(4 bytes; a camera file has 228)\n");
        QVERIFY(several.out.startsWith("@b.cam\n\nZepplin/Shoulder * Camera (zeppelin)\n"
                                       "* Zeppelin/Shoulder view not visible during replays.\n"));
        QVERIFY(several.out.contains("\n\n@o.cam\n\nZepplin/Shoulder * Camera (zeppelin)\n"));
    }

    // set over several files: lines for what changed, the slider's rounding told,
    // the stored bits as Apply stores them.
    void setSeveralFiles()
    {
        CameraSet cameras = Brabham;
        cameras[2].Zoom = floatFromBits(0x3f9c61aa); // already 70 degrees
        put("a.cam", camBytes(Brabham, 9));
        put("b.cam", camBytes(cameras));
        put("x=1.cam", camBytes(Brabham));
        const Result result = run({"set", "@a.cam", "all.zoom=70", "@b.cam", "nose.x=0.002"});
        QCOMPARE(result.err, QString());
        QCOMPARE(result.code, 0);
        const QString rounded = " (0.002 rounded to steps of 0.004 m)";
        QStringList expected;
        for (const char *file : {"@a.cam", "@b.cam"}) {
            for (const char *camera : {"nose", "gearbox", "zeppelin", "rollbar", "frontsusp"}) {
                if (QByteArray(file) == "@b.cam" && QByteArray(camera) == "zeppelin")
                    continue;
                expected << QStringLiteral("%1: %2.zoom: 77.99 -> 70 degrees").arg(file, camera);
            }
            expected << QStringLiteral("%1: rearsusp.zoom: 69.97 -> 70 degrees").arg(file)
                     << QStringLiteral("%1: nose.x: 2.324 -> 0 m").arg(file) + rounded;
        }
        QCOMPARE(result.out.split('\n', Qt::SkipEmptyParts), expected);
        CameraSet after = Brabham;
        for (CameraRecord &record : after)
            record.Zoom = floatFromBits(0x3f9c61aa);
        after[0].X = 0;
        QCOMPARE(contents("a.cam").toHex(), camBytes(after).toHex()); // and the standard header
        QCOMPARE(contents("b.cam").toHex(), camBytes(after).toHex());

        // After "--" only assignments, so a file name may hold "="; -q prints nothing;
        // a file with nothing to change is not written.
        QCOMPARE(
            run({"set", "-q", "@x=1.cam", "@b.cam", "--", "rollbar.x=0.1", "nose.yaw1=-175.5"}),
            (Result{0, QString(), QString()}));
        after[3].X = floatFromBits(0x3dcccccd);
        after[0].Yaw1 = floatFromBits(0xc044090f);
        QCOMPARE(contents("b.cam").toHex(), camBytes(after).toHex());
        const QDateTime written = QFileInfo(path("b.cam")).lastModified();
        QTest::qWait(20);
        QCOMPARE(run({"set", "@b.cam", "rollbar.x=0.1"}).out, QString());
        QCOMPARE(QFileInfo(path("b.cam")).lastModified(), written);
    }

    // copy moves stored records bit for bit, into the same camera or another.
    void copyBitForBit()
    {
        CameraSet source = Brabham;
        source[3] = {floatFromBits(0x7fc00001), -0.0f, 1e30f, 0.1f, 0.2f, 0.3f, 0.4f, 5.0f, 6.0f};
        put("src.cam", camBytes(source));
        put("d1.cam", camBytes(SetupDefaults().DefaultCameras(5)));
        put("d2.cam", camBytes(SetupDefaults().DefaultCameras(6), 4));
        Result result = run({"copy", "@src.cam", "rollbar", "@d1.cam", "@d2.cam", "--to", "0"});
        QCOMPARE(result.code, 0);
        QVERIFY2(result.out.startsWith("@d1.cam: nose.x: 2.453 -> nan(0x7fc00001) m\n"
                                       "@d1.cam: nose.y: -0.003 -> 0 m\n"),
                 qPrintable(result.out));
        for (const char *name : {"d1.cam", "d2.cam"}) {
            CameraDocument document;
            QCOMPARE(parseCameraFile(contents(name), &document), CameraFileStatus::Ok);
            QVERIFY(document.DocumentCameras[0].sameBits(source[3]));
            QCOMPARE(document.DocumentHeader, MakeCCamHeader());
        }
        result = run({"copy", "@src.cam", "all", "@d1.cam", "-q"});
        QCOMPARE(result.out + result.err, QString());
        QCOMPARE(contents("d1.cam"), camBytes(source));
    }

    // One file that fails its tests, or cannot be written, is named; every file not
    // yet written stays as it was.
    void severalFilesFail()
    {
        put("a.cam", camBytes(Brabham, 1));
        put("short.cam", camBytes(Brabham).left(100));
        put("c.cam", camBytes(Brabham, 3));
        Result result = run({"set", "@a.cam", "@short.cam", "@c.cam", "nose.x=1"});
        QCOMPARE(result.code, 1);
        QCOMPARE(result.err, "kestrel-cam: @short.cam: File Length does not indicate Camera file "
                             "(100 bytes; a camera file has 228)\n");
        QCOMPARE(contents("a.cam"), camBytes(Brabham, 1));
        QCOMPARE(contents("c.cam"), camBytes(Brabham, 3));

#ifdef Q_OS_WIN
        QSKIP("a read-only file system is made with mount(), which Windows lacks");
#else
        // A file that can be read but not written: in a folder that is read-only (a
        // read-only file system where permissions do not stop the user, as for root).
        const QString locked = path("locked");
        QDir().mkpath(locked);
        put("locked/b.cam", camBytes(Brabham, 2));
        const bool mounted =
            ::mount("tmpfs", QFile::encodeName(locked).constData(), "tmpfs", 0, "size=64k") == 0;
        if (mounted) {
            put("locked/b.cam", camBytes(Brabham, 2));
            ::mount(nullptr, QFile::encodeName(locked).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                    nullptr);
        } else {
            QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        }
        put("d.cam", camBytes(Brabham, 4));
        const CameraSet lotus = SetupDefaults().DefaultCameras(5);
        put("lotus.cam", camBytes(lotus));
        result = run({"copy", "@lotus.cam", "all", "@a.cam", "@locked/b.cam", "@d.cam", "-q"});
        const QByteArray kept = contents("locked/b.cam");
        if (mounted)
            ::umount(QFile::encodeName(locked).constData());
        else
            QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (!result.err.contains("@locked/b.cam"))
            QSKIP("no read-only folder can be made here");
        QCOMPARE(result.code, 2);
        QCOMPARE(result.err.count('\n'), 1);
        QCOMPARE(kept, camBytes(Brabham, 2));
        QCOMPARE(contents("a.cam"), camBytes(lotus)); // written before the failure
        QCOMPARE(contents("d.cam"), camBytes(Brabham, 4));
#endif
    }

    // "-" is standard input or standard output; "./-" is a file of that name.
    void standardStreams()
    {
        const QByteArray brabham = camBytes(Brabham);
        const auto piped = [this](const QStringList &arguments, const QByteArray &input) {
            QBuffer in;
            in.setData(input);
            in.open(QIODevice::ReadOnly);
            QBuffer out;
            out.open(QIODevice::WriteOnly);
            QString err;
            QTextStream errStream(&err);
            QStringList resolved = arguments;
            for (QString &argument : resolved)
                argument.replace(QLatin1Char('@'), m_dir.path() + QLatin1Char('/'));
            const int code = kestrelcam::runKestrelCam(resolved, in, out, errStream);
            errStream.flush();
            return std::make_tuple(code, out.data(), folderAsMark(err, m_dir.path()));
        };
        QCOMPARE(piped({"new", "brabham", "-o", "-"}, {}), std::make_tuple(0, brabham, QString()));
        const QByteArray json = std::get<1>(piped({"export", "-", "-o", "-"}, brabham));
        QCOMPARE(std::get<1>(piped({"import", "-", "-o", "-"}, json)), brabham);
        QCOMPARE(std::get<1>(piped({"set", "-", "nose.x=1"}, brabham)).mid(12, 4).toHex(),
                 "0000803f");
        QCOMPARE(piped({"check", "-"}, brabham.left(5)),
                 std::make_tuple(1,
                                 QByteArray("standard input: File Length does not indicate "
                                            "Camera file (5 bytes; a camera file has 228)\n"),
                                 QString()));
        QCOMPARE(std::get<2>(piped({"show", "-"}, brabham.left(5))),
                 "kestrel-cam: standard input: File Length does not indicate Camera file "
                 "(5 bytes; a camera file has 228)\n");
        QCOMPARE(std::get<2>(piped({"copy", "-", "nose", "-"}, brabham)),
                 "kestrel-cam: standard input is named twice; see 'kestrel-cam copy --help'\n");
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QCOMPARE(std::get<0>(piped({"new", "lotus", "-o", "./-"}, {})), 0);
        QDir::setCurrent(QDir::rootPath());
        QCOMPARE(contents("-"), camBytes(SetupDefaults().DefaultCameras(5)));
    }

    void diffLines()
    {
        CameraSet a = Brabham, b = Brabham;
        a[0].Zoom = b[0].Zoom = floatFromBits(0x7fc00001); // the same NaN: no difference
        b[0].X = 2.5f;
        b[1].Yaw1 = 0.1f;
        b[5].Bank = -0.0f;
        b[2].Zoom = floatFromBits(0x3fae3b38); // 77.99 as the editor stores it
        put("a.cam", camBytes(a));
        put("b.cam", camBytes(b, 4)); // the header is not compared
        put("a2.cam", camBytes(a, 5));
        Result result = run({"diff", "@a.cam", "@b.cam"});
        QCOMPARE(result.out, "nose.x: 2.323915 -> 2.5 m\n"
                             "gearbox.yaw1: 179.96788 -> 5.729578 degrees\n"
                             "zeppelin.zoom: 77.99428 -> 77.99 degrees\n"
                             "rearsusp.bank: 0 -> -0 degrees\n");
        QCOMPARE(result.code, 1);
        result = run({"diff", "@a.cam", "@a2.cam"});
        QCOMPARE(result.out + result.err, QString());
        QCOMPARE(result.code, 0);
    }

    // A write beyond what the file system takes (here the process's file size limit,
    // which fails the same write as a full disk): the old file stays, no temporary is left.
    void fullDisk()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no file size limit per process to fail a write as a full disk does");
#endif
        put("x.cam", camBytes(Brabham, 1));
        const Result result = [&] {
            const FullDisk full;
            return full.isSet() ? run({"new", "lotus", "-o", "@x.cam", "--force"}) : Result{};
        }();
        QCOMPARE(result.err, "kestrel-cam: Cannot write @x.cam: File too large.\n");
        QCOMPARE(result.code, 2);
        QCOMPARE(contents("x.cam"), camBytes(Brabham, 1));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"x.cam"}));
    }

    // A replaced file keeps its owner and group, not only its mode.
    void ownerKept()
    {
#ifdef Q_OS_WIN
        QSKIP("files on Windows have no POSIX owner and group to keep");
#else
        const QString file = put("owned.cam", camBytes(Brabham));
        if (::chown(QFile::encodeName(file).constData(), 65534, 65534) != 0)
            QSKIP("cannot give a file to another user here");
        QVERIFY(
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QCOMPARE(run({"set", "@owned.cam", "nose.x=1"}).code, 0);
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &status), 0);
        QCOMPARE(status.st_uid, uid_t(65534));
        QCOMPARE(status.st_gid, gid_t(65534));
        QCOMPARE(status.st_mode & 0777, mode_t(0640));
        QCOMPARE(contents("owned.cam").mid(12, 4).toHex(), "0000803f"); // 1 m
#endif
    }

    // Standard output that does not take the result is an error, in-process too.
    void standardOutputFailure()
    {
        put("e.cam", camBytes(Brabham));
        QBuffer unwritable;
        unwritable.open(QIODevice::ReadOnly);
        QString err;
        QTextStream errStream(&err);
        QCOMPARE(kestrelcam::runKestrelCam({"show", path("e.cam")}, unwritable, errStream), 2);
        errStream.flush();
        QVERIFY2(err.startsWith("kestrel-cam: standard output: "), qPrintable(err));
        QCOMPARE(err.count('\n'), 1);
    }

    // The README's git set-up: a diff of a camera file names the changed value's camera.
    void gitDiff()
    {
        if (QStandardPaths::findExecutable("git").isEmpty())
            QSKIP("git is not installed");
        const QString program = QStringLiteral(KESTREL_CAM_PATH);
        QProcess git;
        git.setWorkingDirectory(m_dir.path());
        const auto shell = [&](const QString &script) {
            git.start("sh", {"-c", script, "sh", program});
            QVERIFY(git.waitForFinished(60000));
            QCOMPARE(git.readAllStandardError(), QByteArray());
            QCOMPARE(git.exitCode(), 0);
        };
        shell("git init -q . && echo '*.cam diff=kestrel-cam' > .gitattributes && "
              "git config diff.kestrel-cam.textconv \"$1 show --exact -c all\" && "
              "git config diff.kestrel-cam.xfuncname '^(.* Camera) \\([a-z]+\\)$' && "
              "\"$1\" new lotus -o lotus.cam && git add . && "
              "git -c user.name=k -c user.email=k@example.org commit -qm lotus && "
              "\"$1\" set -q lotus.cam nose.x=2 rollbar.pitch1=12 rearsusp.pitch2=1");
        shell("git diff -U3 lotus.cam");
        const QStringList hunks =
            QString::fromUtf8(git.readAllStandardOutput()).split("\n@@ ").mid(1);
        QCOMPARE(hunks.size(), 3);
        const QStringList cameras = {"Nose Camera", "Roll Bar Camera", "Rear Suspension Camera"};
        const QStringList changed = {"+  x       m                  2",
                                     "+  pitch1  degrees           12",
                                     "+  pitch2  degrees            1"};
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(hunks[i].section('\n', 0, 0).endsWith("@@ " + cameras[i]),
                     qPrintable(hunks[i]));
            QVERIFY2(hunks[i].contains('\n' + changed[i] + '\n'), qPrintable(hunks[i]));
        }
    }

    // The installed program: its streams and exit codes, also when standard output
    // fails or standard input is a pipe.
    void executable()
    {
        put("e.cam", camBytes(Brabham));
        const QString program = QStringLiteral(KESTREL_CAM_PATH);
        QProcess process;
        const auto exec = [&](const QStringList &arguments) {
            process.start(program, arguments);
            QVERIFY(process.waitForFinished());
        };
        exec({"--help"});
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()),
                 systemLines(run({"--help"}).out));
        exec({"--version"});
        QCOMPARE(QString(process.readAllStandardOutput()),
                 systemLines("kestrel-cam " KESTREL_VERSION "\n"));
        exec({"set", "--help"});
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(process.readAllStandardOutput().startsWith(
            "Usage: kestrel-cam set [options] FILE... [--] CAMERA.FIELD=VALUE..."));
        exec({"diff", path("e.cam"), path("nothing.cam")});
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(process.readAllStandardOutput(), QByteArray());
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
                 systemLines("kestrel-cam: " + QDir::toNativeSeparators(path("nothing.cam")) +
                             ": No such file or directory\n"));
        exec({"show", "--output", "x"});
        QCOMPARE(process.exitCode(), 2);
        exec({"export", path("e.cam")});
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(process.readAllStandardOutput().contains("\"X\": 2.323915,"));

#ifndef Q_OS_WIN
        // Through a shell: a full disk, no standard output, a pipe closed by its reader
        // with SIGPIPE ignored, and a file on standard input that arrives in pieces.
        const auto shell = [&](const QString &script) {
            process.start("sh", {"-c", script, "sh", program, path("e.cam")});
            QVERIFY(process.waitForFinished(60000));
        };
        for (const char *command : {"export \"$2\"", "show \"$2\"", "check \"$2\"", "--help"}) {
            shell(QStringLiteral("\"$1\" %1 >/dev/full").arg(QLatin1String(command)));
            QCOMPARE(process.exitCode(), 2);
            QCOMPARE(process.readAllStandardError(),
                     "kestrel-cam: standard output: No space left on device\n");
        }
        shell("\"$1\" export \"$2\" >&-");
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(process.readAllStandardError(),
                 "kestrel-cam: standard output: Bad file descriptor\n");
        shell("trap '' PIPE; files=; for i in $(seq 3000); do files=\"$files $2\"; done; "
              "(\"$1\" check $files; echo \"exit $?\" >&2) | head -n 1 >/dev/null");
        QCOMPARE(process.readAllStandardError(),
                 "kestrel-cam: standard output: Broken pipe\nexit 2\n");
        shell("(head -c 100 \"$2\"; sleep 0.2; tail -c +101 \"$2\") | \"$1\" show /dev/stdin");
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardOutput(), run({"show", "@e.cam"}).out.toUtf8());
#endif
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
