// libFuzzer target: the JSON import. A refused document leaves the cameras as they
// were and says why on one line; an accepted one exports to a document that imports
// the same, and its warnings are one line each. The scan that finds duplicate keys
// and number texts reads every text QJsonDocument reads.

#include "camerafile.h"
#include "camerajson.h"
#include "jsonscan.h"
#include "require.h"

#include <QJsonDocument>

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));

    // What QJsonDocument reads, the scan reads to its end; and the numbers it marks
    // as unreadable are the ones QJsonDocument refuses.
    if (size <= std::size_t(kestrelcam::MaxJsonSize)) {
        QJsonParseError parseError;
        QJsonDocument::fromJson(json, &parseError);
        const kestrelcam::JsonScan scan = kestrelcam::scanJson(json);
        if (parseError.error == QJsonParseError::NoError)
            require(scan.wellFormed && scan.unreadable.empty());
    }

    CameraSet cameras;
    std::memset(&cameras, 0xA5, sizeof cameras);
    const CameraSet before = cameras;
    QString error;
    QStringList warnings{QStringLiteral("kept")};
    if (!kestrelcam::importCameraJson(json, &cameras, &error, &warnings)) {
        require(sameBits(cameras, before));
        require(!error.isEmpty() && !error.contains(QLatin1Char('\n')));
        require(!error.contains(QLatin1String("not read as JSON")));
        require(warnings == QStringList{QStringLiteral("kept")});
        return 0;
    }
    for (qsizetype i = 1; i < warnings.size(); ++i)
        require(warnings[i].startsWith(QLatin1String("cameras[")) &&
                !warnings[i].contains(QLatin1Char('\n')));

    // Exported again (version 2, degrees): the same bits, and the same warnings.
    QStringList again{QStringLiteral("kept")};
    CameraSet back{};
    require(kestrelcam::importCameraJson(kestrelcam::exportCameraJson({MakeCCamHeader(), cameras}),
                                         &back, &error, &again));
    require(sameBits(back, cameras));
    require(again == warnings);
    return 0;
}
