#include "platform.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

// A standard stream the program was started without is held open on /dev/null, so
// that no file the program opens takes its number (and its output).
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

qint64 writeSome(const char *data, qint64 size)
{
    qint64 n = ::write(OutputDescriptor, data, size_t(size));
    // Nothing written and no error (a device that takes no more): a failure all the
    // same, or the caller's loop would never end.
    if (n == 0) {
        errno = EIO;
        n = -1;
    }
    return n;
}

// The offscreen platform finds the system's fonts through fontconfig.
void usePictureFonts() {}

// Terminals take the UTF-8 the program writes as it is.
ConsoleInUtf8::ConsoleInUtf8() = default;
ConsoleInUtf8::~ConsoleInUtf8() = default;
