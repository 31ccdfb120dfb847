#include "platform.h"

#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <windows.h>

// On Windows a stream the program was started without has no system handle; files
// the program opens get handles of their own, never its number, so nothing needs
// holding. Standard input and output go to binary mode.
bool holdIfClosed(int descriptor)
{
    if (::_get_osfhandle(descriptor) < 0)
        return true;
    if (descriptor != ErrorDescriptor)
        ::_setmode(descriptor, _O_BINARY);
    return false;
}

qint64 writeSome(const char *data, qint64 size)
{
    // The descriptor is in binary mode (holdIfClosed): the bytes go out as they are.
    int n = ::_write(OutputDescriptor, data, unsigned(qMin<qint64>(size, 1 << 30)));
    // A pipe whose reader has gone fails as an "invalid argument": say what it is.
    const unsigned long why = _doserrno;
    if (n < 0 && errno == EINVAL &&
        (why == ERROR_NO_DATA || why == ERROR_BROKEN_PIPE || why == ERROR_PIPE_NOT_CONNECTED))
        errno = EPIPE;
    // Nothing written and no error (a device that takes no more): a failure all the
    // same, or the caller's loop would never end.
    if (n == 0) {
        errno = EIO;
        n = -1;
    }
    return n;
}

// The offscreen platform on Windows takes its fonts from QT_QPA_FONTDIR alone: unless
// the user names a folder, the fonts folder beside the program, which holds the sheet
// captions' font.
void usePictureFonts()
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

// A console shows other characters than ASCII only in its UTF-8 code page: set while
// the program runs, then restored.
ConsoleInUtf8::ConsoleInUtf8()
{
    DWORD mode = 0;
    if (::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
        ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode)) {
        m_previous = ::GetConsoleOutputCP();
        if (m_previous == CP_UTF8 || !::SetConsoleOutputCP(CP_UTF8))
            m_previous = 0;
    }
}

ConsoleInUtf8::~ConsoleInUtf8()
{
    if (m_previous != 0)
        ::SetConsoleOutputCP(m_previous);
}
