#include "programentry.h"

#include <io.h>
#include <windows.h>

QStringList programArguments(int, char *[])
{
    // argv holds the command line in the ANSI code page; the system keeps it in UTF-16,
    // where every file name survives.
    int count = 0;
    LPWSTR *words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    QStringList arguments;
    for (int i = 0; words && i < count; ++i)
        arguments << QString::fromWCharArray(words[i]);
    ::LocalFree(words);
    return arguments;
}

bool reachConsole(FILE *stream)
{
    // Redirected to a file or a pipe: the C library already writes there.
    const int descriptor = _fileno(stream);
    if (descriptor >= 0 && _get_osfhandle(descriptor) >= 0)
        return true;
    // Typed in a console: write to it. Its prompt is already shown, as for any
    // windowed program that answers in its parent's console.
    static const bool attached = ::AttachConsole(ATTACH_PARENT_PROCESS) != 0;
    return attached && std::freopen("CONOUT$", "w", stream) != nullptr;
}
