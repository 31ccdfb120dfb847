#include "camerafile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

QString cameraFileRejection(CameraFileStatus status)
{
    switch (status) {
    case CameraFileStatus::BadLength:
        return QStringLiteral("File Length does not indicate Camera file");
    case CameraFileStatus::BadSignature:
        return QStringLiteral("Not A Vantage Camera File");
    case CameraFileStatus::BadDataLength:
        return QStringLiteral("Unsupported Vantage Camera File or Unknown Type");
    case CameraFileStatus::Ok:
    case CameraFileStatus::ReadError:
        break;
    }
    return QString();
}

namespace {

float floatAt(const char *p)
{
    // Bit for bit: the four bytes are the float's little-endian image.
    return floatFromBits(qFromLittleEndian<quint32>(p));
}

void appendFloat(QByteArray &out, float value)
{
    char bytes[4];
    qToLittleEndian(floatBits(value), bytes);
    out.append(bytes, 4);
}

void appendInt32(QByteArray &out, qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// QSaveFile keeps the mode of the file it replaces, not its owner and group: give
// them to the new file where the process may (as root; or the group alone for one of
// its members), else the file belongs to whoever wrote it, as any new file does.
// Windows has no owner to keep this way: the new file takes the folder's inherited
// permissions, as a file saved by any program there does.
void keepOwner([[maybe_unused]] const QString &path, [[maybe_unused]] int handle)
{
#ifndef Q_OS_WIN
    struct stat old;
    if (handle < 0 || ::stat(QFile::encodeName(path).constData(), &old) != 0)
        return;
    if (::fchown(handle, old.st_uid, old.st_gid) != 0 && ::fchown(handle, -1, old.st_gid) != 0)
        return;
#endif
}

// "Cannot STEP PATH:" over the system's reason as a sentence. Windows' reasons end
// with their own full stop; those of other systems get one.
QString failure(const QString &step, const QString &path, QString reason)
{
    if (!reason.endsWith(QLatin1Char('.')))
        reason += QLatin1Char('.');
    return QStringLiteral("Cannot %1 %2:\n%3").arg(step, QDir::toNativeSeparators(path), reason);
}

} // namespace

CameraFileStatus parseCameraFile(const QByteArray &bytes, CameraDocument *out)
{
    if (bytes.size() != CameraFileSize)
        return CameraFileStatus::BadLength;

    const char *data = bytes.constData();
    CameraFileHeader header;
    std::memcpy(header.Signature.data(), data, 4);
    header.Reserved = qFromLittleEndian<qint32>(data + 4);
    header.DataLength = qFromLittleEndian<qint32>(data + 8);

    // Compared by character code: case matters.
    if (std::memcmp(header.Signature.data(), "MACC", 4) != 0)
        return CameraFileStatus::BadSignature;
    if (header.DataLength != CameraDataLength)
        return CameraFileStatus::BadDataLength;

    CameraSet cameras;
    const char *p = data + CameraFileHeaderSize;
    for (CameraRecord &record : cameras) {
        for (int field = 0; field < CameraRecord::FieldCount; ++field) {
            record.setField(field, floatAt(p));
            p += 4;
        }
    }
    if (out) {
        out->DocumentHeader = header;
        out->DocumentCameras = cameras;
    }
    return CameraFileStatus::Ok;
}

QByteArray serializeCameraFile(const CameraDocument &document)
{
    const CameraFileHeader &header = document.DocumentHeader;
    QByteArray out;
    out.reserve(CameraFileSize);
    out.append(header.Signature.data(), 4);
    appendInt32(out, header.Reserved);
    appendInt32(out, header.DataLength);
    for (const CameraRecord &record : document.DocumentCameras) {
        for (int field = 0; field < CameraRecord::FieldCount; ++field)
            appendFloat(out, record.field(field));
    }
    return out;
}

CameraFileStatus CameraFileReader::read(const QString &path)
{
    m_errorString.clear();

    // The size on disk decides first. A name that names nothing, a folder or a
    // device never reaches the open below, so reading creates no file.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile() || info.size() != CameraFileSize) {
        m_errorString = cameraFileRejection(CameraFileStatus::BadLength);
        return CameraFileStatus::BadLength;
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_errorString = failure(QStringLiteral("open"), path, file.errorString());
        return CameraFileStatus::ReadError;
    }
    // One byte more than a camera file holds tells a file that grew since the size test.
    const QByteArray bytes = file.read(CameraFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        m_errorString = failure(QStringLiteral("read"), path, file.errorString());
        return CameraFileStatus::ReadError;
    }

    const CameraFileStatus status = parseCameraFile(bytes, &m_document);
    m_errorString = cameraFileRejection(status);
    return status;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    QString step;
    const bool opened = file.open(QIODevice::WriteOnly);
    if (opened)
        keepOwner(path, file.handle());
    if (!opened)
        step = QStringLiteral("create");
    // QSaveFile buffers the bytes, and commit() does not report a failed flush (a full
    // disk): it would rename a short file over the old one. Flush first and check.
    else if (file.write(bytes) != bytes.size() || !file.flush())
        step = QStringLiteral("write");
    else if (!file.commit())
        step = QStringLiteral("save");

    if (step.isEmpty())
        return true;
    if (error)
        *error = failure(step, path, file.errorString());
    file.cancelWriting();
    return false;
}

bool CameraFileWriter::write(const QString &path, const CameraDocument &document)
{
    m_errorString.clear();
    return writeFileAtomically(path, serializeCameraFile(document), &m_errorString);
}
