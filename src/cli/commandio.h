#pragma once

#include "camerafile.h"
#include "camerarecord.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QTextStream>

// What every command of kestrel-cam shares: its streams, one-line errors, and how it
// reads the files it is given and writes the files it makes. A file argument "-" is
// standard input or standard output; a file really named "-" is "./-".
namespace kestrelcam {

enum ExitCode
{
    ExitSuccess = 0,  // done; check: every file accepted; diff: no difference
    ExitNegative = 1, // a negative answer or a refused input
    ExitUsage = 2     // wrong usage, or a file that cannot be read or written
};

// The streams of one run: standard input, text results on standard output (and binary
// ones, such as a camera file written with -o -), every error on standard error as
// one line.
class CommandStreams
{
public:
    CommandStreams(QIODevice &in, QIODevice &out, QTextStream &err);

    QIODevice &in() { return m_in; }
    QTextStream &out() { return m_out; }
    QTextStream &err() { return m_err; }

    // Writes bytes to standard output after the text written so far.
    void writeBinary(const QByteArray &bytes);

    // Whether standard output took everything written to it; if not, *why says why.
    bool flush(QString *why);

private:
    QIODevice &m_in;
    QIODevice &m_device;
    QTextStream m_out;
    QTextStream &m_err;
    bool m_failed = false;
};

// One line on the error stream: "kestrel-cam: WHAT: WHY". Line breaks in the message
// (the core's messages have them) become blanks.
void report(QTextStream &err, const QString &message);

// Wrong usage: one line that ends by pointing at the help of helpCommand ("kestrel-cam
// set"), without the full stop of Qt's own messages. Returns ExitUsage.
int usageError(QTextStream &err, const QString &why, const QString &helpCommand);

// A file argument as messages name it: "standard input" or "standard output" for "-".
QString inputName(const QString &path);
QString outputName(const QString &path);

// Reads a whole input file named on the command line: a regular file, a readable
// special file such as a pipe or /dev/stdin, or "-", read to its end. Reads at most
// limit + 1 bytes, so that a larger input can be told from one of the limit. A name
// that is no such file (missing, a folder, a dangling link) fails with the system's
// reason in *why ("No such file or directory", "Is a directory"); so does a read error.
// *size is the size on disk for a regular file, else the bytes read, or -1 for an
// input that held more than limit bytes.
bool readInputFile(const QString &path, qint64 limit, CommandStreams &streams, QByteArray *bytes,
                   qint64 *size, QString *why);

// The editor's message for a rejected camera file, with the size of a file of the
// wrong length (as readInputFile gives it): "File Length does not indicate Camera
// file (227 bytes; a camera file has 228)".
QString rejectionText(CameraFileStatus status, qint64 size);

// Reads and tests a camera file as the editor's open command tests it (length,
// signature, data length, in that order). Prints one line and returns ExitNegative for
// a rejected file, ExitUsage for one that cannot be read.
int readCameraFile(const QString &path, CameraDocument *document, CommandStreams &streams);

// Writes bytes to an output: "-" is standard output; a file is replaced atomically (on
// failure the old file is untouched), an existing one only when replace is set, and
// never anything but a regular file (a folder or a device stays as it is). Prints one
// line and returns ExitUsage on failure.
int writeOutput(const QString &path, const QByteArray &bytes, bool replace,
                CommandStreams &streams);

} // namespace kestrelcam
