// render: pictures of a file's cameras in the editor's three views, as PNG.

#include "command.h"

#include "camerafile.h"
#include "cameranames.h"
#include "camerapicture.h"

#include <QBuffer>
#include <QImage>

namespace kestrelcam {

namespace {

const QString CameraOption = QStringLiteral("camera");
const QString ScaleOption = QStringLiteral("scale");

int runRender(Invocation &call)
{
    std::optional<int> camera;
    if (call.isSet(CameraOption)) {
        camera = cameraFromArgument(call.value(CameraOption));
        if (!camera)
            return call.usageError(
                QStringLiteral("unknown camera '%1'").arg(call.value(CameraOption)));
    }
    double scale = 1;
    if (call.isSet(ScaleOption)) {
        bool number = false;
        scale = call.value(ScaleOption).trimmed().toDouble(&number);
        if (!number || !(scale >= MinimumPictureScale && scale <= MaximumPictureScale))
            return call.usageError(QStringLiteral("--scale takes a number from 1 to 8, not '%1'")
                                       .arg(call.value(ScaleOption)));
    }

    CameraDocument document;
    if (const int code = readCameraFile(call.arguments().at(0), &document, call.streams()))
        return code;
    // The values as selecting the camera in the editor shows them.
    const QImage picture =
        camera ? renderCameraViews(viewCameraForRecord(document.DocumentCameras[*camera]), scale)
               : renderCameraSheet(document.DocumentCameras, scale);
    QByteArray png;
    QBuffer buffer(&png);
    if (picture.isNull() || !buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
        report(call.err(),
               QStringLiteral("%1: the picture could not be drawn").arg(outputName(call.output())));
        return ExitUsage;
    }
    return call.writeToOutput(png);
}

} // namespace

std::vector<Command> renderCommands()
{
    return {
        {"render",
         "Draw the cameras in the editor's top, side and front views, as PNG.",
         "FILE [-c CAMERA] -o OUT.png",
         "With -c, one picture of CAMERA (a camera name or 0-5): the three views as the\n"
         "main window lays them out, pixel for pixel as the editor draws them at 96\n"
         "dots per inch. Without -c, a sheet of the six cameras, one row each in camera\n"
         "order, headed by the camera's caption. The values drawn are the editor's: the\n"
         "stored record through the sliders, as selecting the camera shows it. Needs no\n"
         "display.\n"
         "Exit status: 0 written, 1 FILE is rejected, 2 wrong usage or a file that\n"
         "cannot be read or written.",
         {{"FILE", "The camera file (- for standard input).", "FILE"}},
         1,
         1,
         OutputUse::Required,
         "Write the PNG picture to FILE (needed; - for standard output).",
         {QCommandLineOption({QStringLiteral("c"), CameraOption},
                             QStringLiteral("Draw only CAMERA."), QStringLiteral("CAMERA")),
          QCommandLineOption(ScaleOption,
                             QStringLiteral("Draw at S times the pixels, 1 to 8 (default 1)."),
                             QStringLiteral("S"))},
         runRender},
    };
}

} // namespace kestrelcam
