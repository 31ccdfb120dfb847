#include "commandio.h"

#include "camerafile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#ifdef Q_OS_WIN
#include <string>
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace kestrelcam {

namespace {

const QString ProgramName = QStringLiteral("kestrel-cam");
const QString StandardStream = QStringLiteral("-");

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The file system's answer for a name: 0 and its mode and size, or the error number
// ("No such file or directory", "Is a directory", a loop of links, ...).
struct PathStatus
{
    bool isFolder = false;
    bool isRegular = false;
    qint64 size = 0;
};

int statusOf(const QString &path, PathStatus *out)
{
#ifdef Q_OS_WIN
    // Asked of the system in UTF-16, which takes every name the editor opens: names
    // with the \\?\ prefix and names beyond MAX_PATH, which the C library's stat
    // refuses as missing. A name the system cannot answer for otherwise is left to
    // opening the file, which tells its own reason.
    WIN32_FILE_ATTRIBUTE_DATA data;
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    if (!::GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data)) {
        switch (::GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_DRIVE:
            return ENOENT;
        default:
            return 0;
        }
    }
    out->isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    out->isRegular = !out->isFolder && (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0;
    out->size = qint64((quint64(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    return 0;
#else
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno;
    out->isFolder = S_ISDIR(status.st_mode);
    out->isRegular = S_ISREG(status.st_mode);
    out->size = status.st_size;
    return 0;
#endif
}

QString byteCount(qint64 size)
{
    return size == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(size);
}

// Reads a device to its end, one byte beyond the limit: a pipe hands its bytes over
// in pieces.
bool readToEnd(QIODevice &device, qint64 limit, QByteArray *bytes, QString *why)
{
    bytes->clear();
    for (;;) {
        const QByteArray piece = device.read(limit + 1 - bytes->size());
        *bytes += piece;
        if (piece.isEmpty() || bytes->size() > limit)
            break;
    }
    const auto *file = qobject_cast<const QFileDevice *>(&device);
    if (file && file->error() != QFileDevice::NoError) {
        *why = file->errorString();
        return false;
    }
    return true;
}

} // namespace

CommandStreams::CommandStreams(QIODevice &in, QIODevice &out, QTextStream &err)
    : m_in(in), m_device(out), m_out(&out), m_err(err)
{
}

void CommandStreams::writeBinary(const QByteArray &bytes)
{
    m_out.flush();
    // A device in text mode would end lines for the system (CR LF on Windows): camera
    // files and pictures go out byte for byte.
    const bool text = m_device.isTextModeEnabled();
    m_device.setTextModeEnabled(false);
    if (m_out.status() != QTextStream::Ok || m_device.write(bytes) != bytes.size())
        m_failed = true;
    m_device.setTextModeEnabled(text);
}

bool CommandStreams::flush(QString *why)
{
    m_out.flush();
    if (m_out.status() != QTextStream::Ok)
        m_failed = true;
    if (m_failed && why)
        *why = m_device.errorString();
    return !m_failed;
}

void report(QTextStream &err, const QString &message)
{
    QString line = message;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    err << ProgramName << ": " << line << Qt::endl;
}

int usageError(QTextStream &err, const QString &why, const QString &helpCommand)
{
    QString text = why;
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    report(err, text + QStringLiteral("; see '%1 --help'").arg(helpCommand));
    return ExitUsage;
}

QString inputName(const QString &path)
{
    return path == StandardStream ? QStringLiteral("standard input")
                                  : QDir::toNativeSeparators(path);
}

QString outputName(const QString &path)
{
    return path == StandardStream ? QStringLiteral("standard output")
                                  : QDir::toNativeSeparators(path);
}

bool readInputFile(const QString &path, qint64 limit, CommandStreams &streams, QByteArray *bytes,
                   qint64 *size, QString *why)
{
    if (path == StandardStream) {
        if (!readToEnd(streams.in(), limit, bytes, why))
            return false;
        *size = bytes->size() > limit ? -1 : bytes->size();
        return true;
    }
    // The system's own answer for a name that is no file: missing, a dangling link,
    // a loop of links, a folder.
    PathStatus status;
    if (const int error = statusOf(path, &status)) {
        *why = systemReason(error);
        return false;
    }
    if (status.isFolder) {
        *why = systemReason(EISDIR);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return false;
    }
    if (!readToEnd(file, limit, bytes, why))
        return false;
    if (status.isRegular)
        *size = status.size;
    else
        *size = bytes->size() > limit ? -1 : bytes->size();
    return true;
}

QString rejectionText(CameraFileStatus status, qint64 size)
{
    QString message = cameraFileRejection(status);
    if (status == CameraFileStatus::BadLength) {
        const QString length =
            size < 0 ? QStringLiteral("more than %1 bytes").arg(CameraFileSize) : byteCount(size);
        message += QStringLiteral(" (%1; a camera file has %2)").arg(length).arg(CameraFileSize);
    }
    return message;
}

int readCameraFile(const QString &path, CameraDocument *document, CommandStreams &streams)
{
    const QString name = inputName(path);
    QByteArray bytes;
    qint64 size = 0;
    QString why;
    if (!readInputFile(path, CameraFileSize, streams, &bytes, &size, &why)) {
        report(streams.err(), name + QStringLiteral(": ") + why);
        return ExitUsage;
    }
    const CameraFileStatus status = parseCameraFile(bytes, document);
    if (status == CameraFileStatus::Ok)
        return ExitSuccess;
    report(streams.err(), name + QStringLiteral(": ") + rejectionText(status, size));
    return ExitNegative;
}

int writeOutput(const QString &path, const QByteArray &bytes, bool replace, CommandStreams &streams)
{
    if (path == StandardStream) {
        streams.writeBinary(bytes); // a failure is told once the command ends
        return ExitSuccess;
    }
    const QString name = outputName(path);
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        report(streams.err(), name + QStringLiteral(": not a regular file, left as it is"));
        return ExitUsage;
    }
    if (info.exists() && !replace) {
        report(streams.err(), name + QStringLiteral(": exists; --force replaces it"));
        return ExitUsage;
    }
    QString error;
    if (!writeFileAtomically(path, bytes, &error)) {
        report(streams.err(), error);
        return ExitUsage;
    }
    return ExitSuccess;
}

} // namespace kestrelcam
