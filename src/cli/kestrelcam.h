#pragma once

#include <QStringList>
#include <QTextStream>

// The command-line companion of the editor: show, check, diff, export, import, new
// and set camera files. Each command is a function of its arguments and two streams
// that returns the process's exit code; none of them exits or touches a window.
namespace kestrelcam {

enum ExitCode
{
    ExitSuccess = 0,  // done; check: every file accepted; diff: no difference
    ExitNegative = 1, // a negative answer or a refused input
    ExitUsage = 2     // wrong usage, or a file that cannot be read or written
};

// Runs one command line; arguments without the program's own name
// ({"set", "a.cam", "all.zoom=75"}). Results go to out, every error to err as one line.
int runKestrelCam(const QStringList &arguments, QTextStream &out, QTextStream &err);

} // namespace kestrelcam
