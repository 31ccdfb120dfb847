// kestrel-cam in one process: check over 10,000 camera files (accepted and rejected)
// and export + import of 10,000 files, against merely reading the same files' bytes
// (goal: within 3 x); set over 1,000 files in place, against writing the same files
// atomically, fsync included (goal: within 1.5 x). Prints files per second and the
// ratio to the floor.
#include "camerafile.h"
#include "camerajson.h"
#include "kestrelcam.h"
#include "median.h"
#include "moddefaultvariablesetup.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int FileCount = 10000;
constexpr int Runs = 5;
constexpr int SetCount = 1000;

QStringList makeFiles(const QString &folder, bool withRejected)
{
    QRandomGenerator rng(2026);
    const CameraSet defaults = SetupDefaults().DefaultCameras(0);
    QStringList paths;
    QDir().mkpath(folder);
    for (int i = 0; i < FileCount; ++i) {
        CameraSet cameras = defaults;
        for (CameraRecord &record : cameras)
            record.X = float(rng.bounded(200.0) - 100.0);
        QByteArray bytes = serializeCameraFile({MakeCCamHeader(), cameras});
        if (withRejected && i % 4 == 1)
            bytes.chop(1 + i % 7); // length
        else if (withRejected && i % 8 == 2)
            bytes[i % 4] = 'x'; // signature
        else if (withRejected && i % 8 == 3)
            bytes[8] = char(217); // data length
        paths << QStringLiteral("%1/f%2.cam").arg(folder).arg(i);
        QFile file(paths.last());
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(paths.last()));
    }
    return paths;
}

// Median seconds of a few runs of work.
double seconds(const std::function<void()> &work, int runs = Runs)
{
    std::vector<double> times;
    QElapsedTimer timer;
    for (int run = 0; run < runs; ++run) {
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    return median(times);
}

// The floor: opening each file and reading its bytes, as the reader reads them.
void readAll(const QStringList &paths)
{
    qint64 total = 0;
    for (const QString &path : paths) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            total += file.read(CameraFileSize + 1).size();
    }
    if (total == 0)
        qFatal("nothing read");
}

void print(const char *what, double time, double floor)
{
    std::printf("%-44s %9.0f files/s  %6.2f x the floor\n", what, FileCount / time, time / floor);
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QStringList mixed = makeFiles(dir.filePath("mixed"), true);
    const QStringList accepted = makeFiles(dir.filePath("accepted"), false);
    const QString json = dir.filePath("out.json"), cam = dir.filePath("out.cam");

    QString sink;
    QTextStream err(&sink);
    const auto run = [&](const QStringList &arguments) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        const int code = kestrelcam::runKestrelCam(arguments, out, err);
        sink.clear();
        return code;
    };

    const double floorMixed = seconds([&] { readAll(mixed); });
    const double check = seconds([&] {
        if (run(QStringList{"check"} + mixed) != 1)
            qFatal("check did not find the rejected files");
    });
    const double floorAccepted = seconds([&] { readAll(accepted); });
    const double roundTrip = seconds(
        [&] {
            for (const QString &path : accepted) {
                if (run({"export", path, "-o", json, "--force"}) ||
                    run({"import", json, "-o", cam, "--force"}))
                    qFatal("export or import failed");
            }
        },
        3);
    // The same conversions without files: reading, JSON out, JSON in, bytes.
    const double inMemory = seconds([&] {
        for (const QString &path : accepted) {
            CameraFileReader reader;
            CameraSet cameras;
            QString error;
            if (reader.read(path) != CameraFileStatus::Ok ||
                !kestrelcam::importCameraJson(kestrelcam::exportCameraJson(reader.document()),
                                              &cameras, &error) ||
                serializeCameraFile({MakeCCamHeader(), cameras}).size() != CameraFileSize)
                qFatal("conversion failed");
        }
    });
    // What two atomic writes of the same bytes cost alone (QSaveFile, with its fsync).
    const double writes = seconds(
        [&] {
            for (const QString &path : accepted) {
                QFile file(path);
                if (!file.open(QIODevice::ReadOnly))
                    qFatal("cannot read");
                const QByteArray bytes = file.read(CameraFileSize + 1);
                QString error;
                if (!writeFileAtomically(json, bytes, &error) ||
                    !writeFileAtomically(cam, bytes, &error))
                    qFatal("%s", qPrintable(error));
            }
        },
        3);

    // set over 1,000 files in place, each value changed on every run, against the
    // atomic writes of those files' new bytes alone.
    const QStringList thousand = accepted.mid(0, SetCount);
    double zoom = 70;
    const double set = seconds(
        [&] {
            zoom += 0.5;
            if (run(QStringList{"set", "-q", "all.zoom=" + QString::number(zoom)} + thousand))
                qFatal("set failed");
        },
        3);
    const double setFloor = seconds(
        [&] {
            const QByteArray bytes = serializeCameraFile({MakeCCamHeader(), {}});
            for (const QString &path : thousand) {
                QString error;
                if (!writeFileAtomically(path, bytes, &error))
                    qFatal("%s", qPrintable(error));
            }
        },
        3);

    std::printf("%d files, median of %d runs\n", FileCount, Runs);
    print("reading the bytes (floor), mixed files", floorMixed, floorMixed);
    print("check, half of them rejected", check, floorMixed);
    print("reading the bytes (floor), accepted files", floorAccepted, floorAccepted);
    print("export -o + import -o of each file", roundTrip, floorAccepted);
    print("reading + two atomic writes, no JSON", writes, floorAccepted);
    print("reading, export + import in memory", inMemory, floorAccepted);
    std::printf("%d files, median of 3 runs\n", SetCount);
    std::printf("%-44s %9.0f files/s\n", "atomic writes of the files (floor)", SetCount / setFloor);
    std::printf("%-44s %9.0f files/s  %6.2f x the floor\n", "set -q all.zoom=... in place",
                SetCount / set, set / setFloor);
    return 0;
}
