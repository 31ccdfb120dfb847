// libFuzzer target: the camera file reader's tests and decoding, and the JSON export
// and import of every file it accepts.

#include "camerafile.h"
#include "camerajson.h"
#include "require.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // A document that no input can decode to, so that any write to it shows.
    CameraDocument document;
    std::memset(&document, 0xA5, sizeof document);
    const QByteArray untouched = serializeCameraFile(document);

    const CameraFileStatus status = parseCameraFile(bytes, &document);
    CameraFileStatus expected = CameraFileStatus::Ok;
    if (bytes.size() != CameraFileSize)
        expected = CameraFileStatus::BadLength;
    else if (!bytes.startsWith("MACC"))
        expected = CameraFileStatus::BadSignature;
    else if (bytes.mid(8, 4) != QByteArray("\xd8\0\0\0", 4))
        expected = CameraFileStatus::BadDataLength;
    require(status == expected);

    if (status != CameraFileStatus::Ok) {
        require(serializeCameraFile(document) == untouched);
        return 0;
    }
    // Accepted: written back bit for bit, header included.
    require(serializeCameraFile(document) == bytes);

    // Its JSON imports to the same six records.
    CameraSet imported{};
    QString error;
    require(
        kestrelcam::importCameraJson(kestrelcam::exportCameraJson(document), &imported, &error));
    require(sameBits(imported, document.DocumentCameras));
    return 0;
}
