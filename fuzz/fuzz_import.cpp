// libFuzzer target: the JSON import. A refused document leaves the cameras as they
// were and says why on one line; an accepted one exports to a document that imports
// the same, and its warnings are one line each.

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
    QStringList warnings{QStringLiteral("kept")};
    if (!kestrelcam::importCameraJson(json, &cameras, &error, &warnings)) {
        require(sameBits(cameras, before));
        require(!error.isEmpty() && !error.contains(QLatin1Char('\n')));
        require(warnings == QStringList{QStringLiteral("kept")});
        return 0;
    }
    for (qsizetype i = 1; i < warnings.size(); ++i)
        require(warnings[i].startsWith(QLatin1String("cameras[")) &&
                !warnings[i].contains(QLatin1Char('\n')));

    // Exported again: the same bits, and the same warnings.
    QStringList again{QStringLiteral("kept")};
    CameraSet back{};
    require(kestrelcam::importCameraJson(kestrelcam::exportCameraJson({MakeCCamHeader(), cameras}),
                                         &back, &error, &again));
    require(sameBits(back, cameras));
    require(again == warnings);
    return 0;
}
