#pragma once

#include <QtGlobal>

// What kestrel-cam needs from the system it runs on: its standard streams, the
// console's code page and the fonts of its pictures.

// The standard streams' descriptors, the same on every system.
inline constexpr int InputDescriptor = 0;
inline constexpr int OutputDescriptor = 1;
inline constexpr int ErrorDescriptor = 2;

// Makes a standard stream ready before anything is read or written: camera files and
// pictures pass through standard input and output byte for byte. Returns whether the
// program was started without the stream (it was closed).
bool holdIfClosed(int descriptor);

// Writes up to size bytes to standard output, as they are; returns the count written,
// or -1 with errno saying why (EPIPE for a pipe whose reader has gone, EIO for a
// device that took nothing).
qint64 writeSome(const char *data, qint64 size);

// Pictures are drawn on the offscreen platform: makes the fonts of their captions
// available to it, before the application is made.
void usePictureFonts();

// Text goes out in UTF-8: while an object of this class lives, a console the program
// writes to shows it so (a file named Pérez.cam); its code page is restored after.
class ConsoleInUtf8
{
public:
    ConsoleInUtf8();
    ~ConsoleInUtf8();
    ConsoleInUtf8(const ConsoleInUtf8 &) = delete;
    ConsoleInUtf8 &operator=(const ConsoleInUtf8 &) = delete;

private:
    [[maybe_unused]] unsigned m_previous = 0; // the code page to restore, 0 for none
};
