// Start-up benchmark: process start to the first painted main window, for the
// editor and for a bare Qt Widgets window of the same size, run alternately.
#include "../median.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

struct Run
{
    double ms = -1;
    long long peakKib = -1;
};

Run runOnce(const QString &program, const QStringList &arguments = {})
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    const long long start = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count();
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return {};
    Run run;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
        if (line.startsWith("painted "))
            run.ms = double(line.mid(8).toLongLong() - start) / 1000.0;
        else if (line.startsWith("peak_kib "))
            run.peakKib = line.mid(9).toLongLong();
    }
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString dir = QCoreApplication::applicationDirPath();
    const QString editor = QDir(dir).filePath(QStringLiteral("bench_startup_editor"));
    const QString bare = QDir(dir).filePath(QStringLiteral("bench_startup_bare"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    const QStringList caption{QStringLiteral("--caption")};
    runOnce(bare); // warm the file cache
    runOnce(editor);
    std::vector<double> editorMs, bareMs, captionMs;
    long long editorPeak = 0, barePeak = 0, captionPeak = 0;
    for (int i = 0; i < rounds; ++i) {
        const Run b = runOnce(bare);
        const Run c = runOnce(bare, caption);
        const Run e = runOnce(editor);
        if (b.ms < 0 || c.ms < 0 || e.ms < 0) {
            std::fprintf(stderr, "a run did not report its first paint\n");
            return 1;
        }
        bareMs.push_back(b.ms);
        editorMs.push_back(e.ms);
        captionMs.push_back(c.ms);
        barePeak = std::max(barePeak, b.peakKib);
        captionPeak = std::max(captionPeak, c.peakKib);
        editorPeak = std::max(editorPeak, e.peakKib);
    }
    const double e = median(editorMs), b = median(bareMs), c = median(captionMs);
    std::printf("start to first paint, median of %d runs (platform %s)\n", rounds,
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "default"
                                                     : qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  bare Qt window     : %7.1f ms   peak memory %6lld KiB\n", b, barePeak);
    std::printf("  ... with a caption : %7.1f ms   peak memory %6lld KiB\n", c, captionPeak);
    std::printf("  Kestrel editor     : %7.1f ms   peak memory %6lld KiB\n", e, editorPeak);
    std::printf("  ratio to bare      : %7.2f (target: at most 1.30)\n", b > 0 ? e / b : 0.0);
    std::printf("  ratio to captioned : %7.2f\n", c > 0 ? e / c : 0.0);
    return 0;
}
