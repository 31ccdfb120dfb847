// kestrel-cam: the editor's camera files on the command line.

#include "kestrelcam.h"
#include "platform.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cerrno>
#include <cstring>
#include <memory>

namespace {

// Standard output as a device that reports every failed write with the system's
// reason: a full disk, a pipe closed by its reader (with SIGPIPE ignored), or no
// standard output at all. Text is written in text mode, so lines end as the system's
// console programs end them (CR LF on Windows); CommandStreams writes camera files
// and pictures with text mode off, byte for byte.
class StandardOutput : public QIODevice
{
public:
    explicit StandardOutput(bool closed) : m_closed(closed) { open(WriteOnly | Unbuffered | Text); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        qint64 written = 0;
        while (written < size) {
            const qint64 n =
                m_closed ? (errno = EBADF, -1) : writeSome(data + written, size - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                setErrorString(QString::fromLocal8Bit(std::strerror(errno)));
                return -1;
            }
            written += n;
        }
        return written;
    }

private:
    bool m_closed;
};

// Whether the command draws pictures: the first argument that is no option names it.
bool drawsPictures(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-')
            return std::strcmp(argv[i], "render") == 0;
    }
    return false;
}

// The program tells its own errors, one line each; the toolkit's notes (such as a
// missing runtime folder when run as root) stay out of them.
void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

int main(int argc, char *argv[])
{
    holdIfClosed(InputDescriptor);
    const bool outputClosed = holdIfClosed(OutputDescriptor);
    holdIfClosed(ErrorDescriptor);

    // Pictures need fonts, so a QGuiApplication; on the offscreen platform it needs no
    // display server (no X, no Wayland) and shows nothing.
    const ConsoleInUtf8 console;
    std::unique_ptr<QCoreApplication> application;
    if (drawsPictures(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        usePictureFonts();
        qInstallMessageHandler(quiet);
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    StandardOutput out(outputClosed);
    QTextStream err(stderr);
    const int code = kestrelcam::runKestrelCam(QCoreApplication::arguments().mid(1), out, err);
    err.flush();
    return code;
}
