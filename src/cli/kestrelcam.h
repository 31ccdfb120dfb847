#pragma once

#include "commandio.h"

#include <QIODevice>
#include <QStringList>
#include <QTextStream>

// The command-line companion of the editor: show, check, diff, export, import, new,
// set, copy and render camera files. Each command is a function of its arguments and the
// streams that returns the process's exit code; none of them exits or touches a window.
namespace kestrelcam {

// Runs one command line; arguments without the program's own name
// ({"set", "a.cam", "all.zoom=75"}). Results go to out, every error to err as one line;
// a result that out does not take is an error too ("standard output: REASON", exit 2).
// Standard input ("-" as a file argument) is read from in, or from the process's own.
int runKestrelCam(const QStringList &arguments, QIODevice &in, QIODevice &out, QTextStream &err);
int runKestrelCam(const QStringList &arguments, QIODevice &out, QTextStream &err);

} // namespace kestrelcam
