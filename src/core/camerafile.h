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

// The fixed message shown for a rejected file (empty for Ok and ReadError).
QString cameraFileMessage(CameraFileStatus status);

struct CameraFileContents
{
    CameraFileHeader header;
    CameraSet cameras;
};

// Tests and decodes the bytes of a whole file. Nothing is written to *out unless
// the result is Ok; record values are taken bit for bit, never examined.
CameraFileStatus parseCameraFile(const QByteArray &bytes, CameraFileContents *out);

// The 228 bytes of a camera file, little-endian whatever the host.
QByteArray serializeCameraFile(const CameraFileHeader &header, const CameraSet &cameras);

// Reads and tests the file at path. The size is taken from the file system first,
// so a missing name, a directory or a device gives BadLength, and no file is created.
class CameraFileReader
{
public:
    CameraFileStatus read(const QString &path);

    const CameraFileContents &contents() const { return m_contents; }
    // For ReadError: what went wrong, naming the file.
    QString errorString() const { return m_errorString; }

private:
    CameraFileContents m_contents;
    QString m_errorString;
};

// Replaces the file at path atomically with the 228 bytes of header and cameras:
// on any failure the previous file is left untouched and errorString() says why.
class CameraFileWriter
{
public:
    bool write(const QString &path, const CameraFileHeader &header, const CameraSet &cameras);
    QString errorString() const { return m_errorString; }

private:
    QString m_errorString;
};
