// kestrel-cam render: its pictures against the views' own drawing, its refusals, and
// the executable with no display at all.

#include "camerafile.h"
#include "camerapicture.h"
#include "emptyfolder.h"
#include "eyepicture.h"
#include "fulldisk.h"
#include "kestrelcam.h"
#include "moddefaultvariablesetup.h"
#include "systemtext.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const CameraSet Lotus = SetupDefaults().DefaultCameras(5);

QByteArray camBytes(const CameraSet &cameras)
{
    return serializeCameraFile({MakeCCamHeader(), cameras});
}

QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestRender : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    void put(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QStringList files() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
    // Runs one command line; "@" stands for the temporary folder. Returns the exit
    // code, standard output and standard error.
    std::tuple<int, QByteArray, QString> run(QStringList arguments) const
    {
        for (QString &argument : arguments)
            argument.replace(QLatin1Char('@'), m_dir.path() + QLatin1Char('/'));
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QString err;
        QTextStream errStream(&err);
        const int code = kestrelcam::runKestrelCam(arguments, out, errStream);
        errStream.flush();
        return {code, out.data(), folderAsMark(err, m_dir.path())};
    }

private slots:
    void init()
    {
        QVERIFY(emptyFolder(m_dir.path()));
        CameraSet cameras = Lotus;
        cameras[3].X = 500; // no slider holds it: drawn where the editor draws it, at 120 m
        put("lotus.cam", camBytes(cameras));
    }

    // One camera, and the sheet of six in camera order, as the views' drawing makes them.
    void pictures()
    {
        CameraSet cameras = Lotus;
        cameras[3].X = 500;
        QCOMPARE(std::get<0>(run({"render", "@lotus.cam", "-c", "rollbar", "-o", "@r.png"})), 0);
        const QImage rollbar(path("r.png"));
        QCOMPARE(rollbar.size(), cameraViewsRegion().size());
        QCOMPARE(rgb(rollbar), rgb(renderCameraViews(viewCameraForRecord(cameras[3]))));
        QVERIFY(rgb(rollbar) != rgb(renderCameraViews(viewCameraForRecord(Lotus[3]))));

        QCOMPARE(std::get<0>(run({"render", "@lotus.cam", "-o", "@s.png"})), 0);
        const QImage sheet = rgb(QImage(path("s.png")));
        QCOMPARE(sheet.height(), CameraCount * SheetRowHeight);
        for (int k = 0; k < CameraCount; ++k) {
            const QImage row = sheet.copy(0, k * SheetRowHeight + SheetHeadingHeight, sheet.width(),
                                          cameraViewsRegion().height());
            QCOMPARE(row, rgb(renderCameraViews(viewCameraForRecord(cameras[k]))));
        }

        // Drawn at twice the pixels, not enlarged.
        QCOMPARE(
            std::get<0>(run({"render", "@lotus.cam", "-c", "3", "-o", "@r2.png", "--scale", "2"})),
            0);
        const QImage twice = rgb(QImage(path("r2.png")));
        QCOMPARE(twice.size(), cameraViewsRegion().size() * 2);
        QVERIFY(twice != rgb(rollbar).scaled(twice.size()));

        // To standard output.
        const auto [code, png, err] = run({"render", "@lotus.cam", "-c", "rollbar", "-o", "-"});
        QCOMPARE(code, 0);
        QCOMPARE(rgb(QImage::fromData(png, "PNG")), rgb(rollbar));
    }

    // What a camera sees, alone and on a sheet of six, as the views' eye pictures.
    void eyePictures()
    {
        CameraSet cameras = Lotus;
        cameras[3].X = 500;
        const QImage rollbar = renderEyeView(viewCameraForRecord(cameras[3]));
        QCOMPARE(run({"render", "@lotus.cam", "-c", "rollbar", "--eye", "-o", "@e.png"}),
                 std::make_tuple(0, QByteArray(), QString()));
        QCOMPARE(rgb(QImage(path("e.png"))), rgb(rollbar));
        QVERIFY(rollbar != renderEyeView(viewCameraForRecord(Lotus[3])));

        QCOMPARE(std::get<0>(run({"render", "@lotus.cam", "-c", "3", "--eye", "--size", "320x200",
                                  "--scale", "2", "-o", "@small.png"})),
                 0);
        QImage small = renderEyeView(viewCameraForRecord(cameras[3]), QSize(320, 200), 2);
        small.setDevicePixelRatio(1); // PNG keeps no ratio
        QCOMPARE(rgb(QImage(path("small.png"))), rgb(small));

        const auto [code, png, err] = run({"render", "@lotus.cam", "--eye", "-o", "-"});
        QCOMPARE(code, 0);
        QCOMPARE(err, QString());
        QCOMPARE(rgb(QImage::fromData(png, "PNG")), rgb(renderEyeSheet(cameras)));
    }

    // Every make's cameras are drawn without a word.
    void eyeSheetOfEachMake()
    {
        const DefaultTable defaults = SetupDefaults();
        for (int make = 0; make < CarTypeCount; ++make) {
            put("make.cam", camBytes(defaults.DefaultCameras(make)));
            const auto [code, png, err] = run({"render", "@make.cam", "--eye", "-o", "-"});
            QCOMPARE(code, 0);
            QCOMPARE(err, QString());
            QCOMPARE(QImage::fromData(png, "PNG").size(), eyeSheetSize(EyePictureSize));
        }
    }

    // A Zoom the eye cannot open: a warning naming the camera and the value, the
    // picture's background, and success.
    void blindCameras()
    {
        CameraSet cameras = Lotus;
        cameras[1].Zoom = 0;
        cameras[4].Zoom = std::nanf("");
        put("blind.cam", camBytes(cameras));
        const auto [code, out, err] =
            run({"render", "@blind.cam", "-c", "gearbox", "--eye", "-o", "@g.png"});
        QCOMPARE(code, 0);
        QCOMPARE(err, "kestrel-cam: @blind.cam: gearbox.zoom: 0 degrees opens no picture; only its "
                      "background is drawn\n");
        QImage sky(EyePictureSize, QImage::Format_RGB32);
        sky.fill(renderEyeView(ViewCamera{}).pixel(0, 0));
        QCOMPARE(rgb(QImage(path("g.png"))), sky);

        const QString sheetErr =
            std::get<2>(run({"render", "@blind.cam", "--eye", "-o", "@s.png"}));
        QCOMPARE(sheetErr.count('\n'), 2);
        QVERIFY2(sheetErr.contains("@blind.cam: frontsusp.zoom: nan(0x7fc00000) is not a number; "
                                   "the editor shows 0, which opens no picture"),
                 qPrintable(sheetErr));
        QVERIFY(QFile::exists(path("s.png")));
    }

    // Each refusal: one line, its exit code, and no file written.
    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("error");
        const auto usage = [](const char *name, const QStringList &arguments, const QString &why) {
            QTest::newRow(name) << arguments << 2
                                << "kestrel-cam: " + why + "; see 'kestrel-cam render --help'\n";
        };
        usage("unknown camera", {"render", "@lotus.cam", "-c", "wing", "-o", "@x.png"},
              "unknown camera 'wing'");
        usage("all is no camera here", {"render", "@lotus.cam", "-c", "all", "-o", "@x.png"},
              "unknown camera 'all'");
        for (const char *scale : {"0.5", "8.01", "abc", "nan", ""})
            usage(qPrintable(QStringLiteral("scale '%1'").arg(scale)),
                  {"render", "@lotus.cam", "--scale", scale, "-o", "@x.png"},
                  QStringLiteral("--scale takes a number from 1 to 8, not '%1'").arg(scale));
        usage("missing -o", {"render", "@lotus.cam"}, "-o FILE is needed");
        for (const char *size : {"63x480", "640x4097", "640", "640x480x2", "x", "-640x480"})
            usage(
                qPrintable(QStringLiteral("size '%1'").arg(size)),
                {"render", "@lotus.cam", "--eye", "--size", size, "-o", "@x.png"},
                QStringLiteral("--size takes WxH, each side from 64 to 4096, not '%1'").arg(size));
        usage("too many pixels",
              {"render", "@lotus.cam", "--eye", "-c", "0", "--size", "4096x4096", "--scale", "3",
               "-o", "@x.png"},
              "--size 4096x4096 at --scale 3 makes a picture of more than 134217728 pixels");
        usage("size without eye", {"render", "@lotus.cam", "--size", "640x480", "-o", "@x.png"},
              "--size needs --eye");
        usage("eye at scale 9", {"render", "@lotus.cam", "--eye", "--scale", "9", "-o", "@x.png"},
              "--scale takes a number from 1 to 8, not '9'");
        usage("eye of an unknown camera",
              {"render", "@lotus.cam", "--eye", "-c", "wing", "-o", "@x.png"},
              "unknown camera 'wing'");
        QTest::newRow("eye of a rejected file")
            << QStringList{"render", "@short.cam", "--eye", "-o", "@x.png"} << 1
            << "kestrel-cam: @short.cam: File Length does not indicate Camera file (100 bytes; a "
               "camera file has 228)\n";
        QTest::newRow("existing output")
            << QStringList{"render", "@lotus.cam", "-o", "@lotus.cam"} << 2
            << "kestrel-cam: @lotus.cam: exists; --force replaces it\n";
        QTest::newRow("rejected file")
            << QStringList{"render", "@short.cam", "-o", "@x.png"} << 1
            << "kestrel-cam: @short.cam: File Length does not indicate Camera file (100 bytes; a "
               "camera file has 228)\n";
        QTest::newRow("missing file") << QStringList{"render", "@none.cam", "-o", "@x.png"} << 2
                                      << "kestrel-cam: @none.cam: No such file or directory\n";
#ifndef Q_OS_WIN // where Windows gives its own reason, in its own words (see test_windows)
        QTest::newRow("unwritable output")
            << QStringList{"render", "@lotus.cam", "-o", "@no/x.png"} << 2
            << "kestrel-cam: Cannot create @no/x.png: No such file or directory.\n";
#endif
    }
    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, error);
        put("short.cam", camBytes(Lotus).left(100));
        const QStringList before = files();
        QCOMPARE(run(arguments), std::make_tuple(code, QByteArray(), error));
        QCOMPARE(files(), before);
    }

    // A disk that takes nothing more: no picture and no temporary file are left.
    void fullDisk()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has no file size limit per process to fail a write as a full disk does");
#endif
        const auto result = [&] {
            const FullDisk full;
            return full.isSet() ? run({"render", "@lotus.cam", "-o", "@x.png"})
                                : std::tuple<int, QByteArray, QString>();
        }();
        QCOMPARE(std::get<0>(result), 2);
        QCOMPARE(std::get<2>(result), "kestrel-cam: Cannot write @x.png: File too large.\n");
        QCOMPARE(files(), QStringList{"lotus.cam"});
    }

    // The program with no display server and no platform set: it draws all the same.
    void noDisplay()
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            environment.remove(name);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(KESTREL_CAM_PATH),
                      {"render", path("lotus.cam"), "-o", path("sheet.png")});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.readAllStandardError(), QByteArray());
        QCOMPARE(process.exitCode(), 0);
        CameraSet cameras = Lotus;
        cameras[3].X = 500;
        QCOMPARE(rgb(QImage(path("sheet.png"))), rgb(renderCameraSheet(cameras)));
    }
};

QTEST_MAIN(TestRender)
#include "test_render.moc"
