#pragma once

#include "camerarecord.h"

#include <QByteArray>
#include <QString>

// Outcome of testing a camera file, in the order the tests are made.
enum class CameraFileStatus
{
    Ok,
    BadLength,     // not exactly 228 bytes
    BadSignature,  // first four bytes are not "MACC"
    BadDataLength, // data length is not 216
    ReadError      // the file exists but could not be opened or read
};

// The fixed message that tells the user why a file was rejected ("Not A Vantage
// Camera File", ...); empty for Ok and ReadError.
QString cameraFileRejection(CameraFileStatus status);

// Tests and decodes the bytes of a whole file. Nothing is written to *out unless
// the result is Ok; record values are taken bit for bit, never examined.
CameraFileStatus parseCameraFile(const QByteArray &bytes, CameraDocument *out);

// The 228 bytes of a camera file, little-endian whatever the host.
QByteArray serializeCameraFile(const CameraDocument &document);

// Reads and tests the file at path. The size is taken from the file system first,
// so a missing name, a directory or a device gives BadLength, and no file is created.
class CameraFileReader
{
public:
    CameraFileStatus read(const QString &path);

    // The file read by the last successful read().
    const CameraDocument &document() const { return m_document; }
    // Why the last read() failed, ready to show: for a rejected file the fixed message
    // of the test it failed ("Not A Vantage Camera File", ...), for ReadError what went
    // wrong, naming the file. Empty after a successful read.
    QString errorString() const { return m_errorString; }

private:
    CameraDocument m_document;
    QString m_errorString;
};

// Replaces the file at path atomically with bytes (through QSaveFile): on any failure
// the previous file is left untouched, no temporary file stays behind and *error
// names the failing step, the path and the reason ("Cannot save PATH:\nREASON.").
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error);

// Replaces the file at path atomically with the 228 bytes of the document:
// on any failure the previous file is left untouched and errorString() says why.
class CameraFileWriter
{
public:
    bool write(const QString &path, const CameraDocument &document);
    QString errorString() const { return m_errorString; }

private:
    QString m_errorString;
};
