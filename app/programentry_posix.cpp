#include "programentry.h"

QStringList programArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// A program started from a terminal writes to it; one started from a menu writes
// where its session's output goes, as every program there does.
bool reachConsole(FILE *)
{
    return true;
}
