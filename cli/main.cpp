// kestrel-cam: the editor's camera files on the command line.

#include "kestrelcam.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string>
#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// The standard streams' descriptors, the same on every system.
constexpr int InputDescriptor = 0;
constexpr int OutputDescriptor = 1;
constexpr int ErrorDescriptor = 2;

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
    static qint64 writeSome(const char *data, qint64 size)
    {
#ifdef Q_OS_WIN
        // The descriptor is in binary mode (see main): the bytes go out as they are.
        int n = ::_write(OutputDescriptor, data, unsigned(qMin<qint64>(size, 1 << 30)));
        // A pipe whose reader has gone fails as an "invalid argument": say what it is.
        const unsigned long why = _doserrno;
        if (n < 0 && errno == EINVAL &&
            (why == ERROR_NO_DATA || why == ERROR_BROKEN_PIPE || why == ERROR_PIPE_NOT_CONNECTED))
            errno = EPIPE;
#else
        qint64 n = ::write(OutputDescriptor, data, size_t(size));
#endif
        // Nothing written and no error (a device that takes no more): a failure all
        // the same, or the loop above would never end.
        if (n == 0) {
            errno = EIO;
            n = -1;
        }
        return n;
    }

    bool m_closed;
};

#ifdef Q_OS_WIN
// On Windows a stream the program was started without has no system handle; files
// the program opens get handles of their own, never its number, so nothing needs
// holding. Camera files and pictures pass through standard input and output byte for
// byte: binary mode, before anything is read or written.
bool holdIfClosed(int descriptor)
{
    if (::_get_osfhandle(descriptor) < 0)
        return true;
    if (descriptor != ErrorDescriptor)
        ::_setmode(descriptor, _O_BINARY);
    return false;
}
#else
// A standard stream the program was started without is held open on /dev/null, so
// that no file the program opens takes its number (and its output). Returns whether
// the stream was closed.
bool holdIfClosed(int descriptor)
{
    if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF)
        return false;
    const int held = ::open("/dev/null", O_RDWR);
    if (held >= 0 && held != descriptor) {
        ::dup2(held, descriptor);
        ::close(held);
    }
    return true;
}
#endif

#ifdef Q_OS_WIN
// Pictures are drawn on the offscreen platform, which on Windows takes its fonts from
// QT_QPA_FONTDIR alone: unless the user names a folder, the fonts folder beside the
// program, which holds the sheet captions' font.
void useProgramFonts()
{
    if (qEnvironmentVariableIsSet("QT_QPA_FONTDIR"))
        return;
    std::wstring path(32768, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length == 0 || length >= path.size())
        return;
    QString folder = QString::fromWCharArray(path.data(), int(length));
    folder.truncate(folder.lastIndexOf(QLatin1Char('\\')) + 1);
    qputenv("QT_QPA_FONTDIR", (folder + QStringLiteral("fonts")).toLocal8Bit());
}

// Text goes out in UTF-8. A console shows other characters than ASCII (a file named
// Pérez.cam) only in its UTF-8 code page: set while the program runs, then restored.
class ConsoleInUtf8
{
public:
    ConsoleInUtf8()
    {
        DWORD mode = 0;
        if (::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
            ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode)) {
            m_previous = ::GetConsoleOutputCP();
            if (m_previous == CP_UTF8 || !::SetConsoleOutputCP(CP_UTF8))
                m_previous = 0;
        }
    }
    ~ConsoleInUtf8()
    {
        if (m_previous != 0)
            ::SetConsoleOutputCP(m_previous);
    }
    ConsoleInUtf8(const ConsoleInUtf8 &) = delete;
    ConsoleInUtf8 &operator=(const ConsoleInUtf8 &) = delete;

private:
    UINT m_previous = 0;
};
#endif

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
#ifdef Q_OS_WIN
    const ConsoleInUtf8 console;
#endif
    std::unique_ptr<QCoreApplication> application;
    if (drawsPictures(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_WIN
        useProgramFonts();
#endif
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
