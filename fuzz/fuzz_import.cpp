// libFuzzer target: the JSON import. A refused document leaves the cameras as they
// were and says why; an accepted one exports to a document that imports the same.

#include "camerafile.h"
#include "camerajson.h"
#include "require.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));

    CameraSet cameras;
    std::memset(&cameras, 0xA5, sizeof cameras);
    const CameraSet before = cameras;
    QString error;
    if (!kestrelcam::importCameraJson(json, &cameras, &error)) {
        require(sameBits(cameras, before));
        require(!error.isEmpty() && !error.contains(QLatin1Char('\n')));
        return 0;
    }

    const QByteArray bytes = serializeCameraFile({MakeCCamHeader(), cameras});
    CameraSet again{};
    require(kestrelcam::importCameraJson(kestrelcam::exportCameraJson({MakeCCamHeader(), cameras}),
                                         &again, &error));
    require(serializeCameraFile({MakeCCamHeader(), again}) == bytes);
    return 0;
}
