#pragma once

#include <QStringList>

#include <cstdio>

// What starting the editor needs from the system it runs on.

// The program's arguments, the program's name first, as the user typed them: any
// character of a file name included.
QStringList programArguments(int argc, char *argv[]);

// Whether text written to stream (stdout or stderr) reaches the user. The editor is a
// windowed program: on Windows it has no console of its own, so a --help typed in a
// console is written to that console (the parent's, attached), or to the file or pipe
// it was redirected to. False where there is neither, as when it was started from a
// shortcut: then the editor shows the text in a message box instead.
bool reachConsole(FILE *stream);
