// render: pictures of a file's cameras in the editor's three views, or through the
// cameras' own eyes, as PNG.

#include "command.h"

#include "camerafile.h"
#include "cameranames.h"
#include "camerapicture.h"
#include "eyecamera.h"
#include "eyepicture.h"
#include "sliderrange.h"
#include "slidervalues.h"
#include "valuetext.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>

namespace kestrelcam {

namespace {

const QString CameraOption = QStringLiteral("camera");
const QString ScaleOption = QStringLiteral("scale");
const QString EyeOption = QStringLiteral("eye");
const QString SizeOption = QStringLiteral("size");
constexpr int ZoomField = 6;

// --size WxH, each side 64 to 4096; nullopt for anything else.
std::optional<QSize> eyeSizeFromArgument(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,4})[xX](\\d{1,4})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    return isEyePictureSize(size) ? std::optional(size) : std::nullopt;
}

// A camera whose eye view is only the background: its Zoom as the editor shows it is 0
// or 180 degrees. One warning line naming the camera and the value.
void warnIfBlind(Invocation &call, int camera, const CameraRecord &stored, QSize size)
{
    if (EyeProjection(viewCameraForRecord(stored), size).isDrawable())
        return;
    const float zoom = stored.Zoom;
    const QString value =
        sliderHolds(ZoomField, zoom)
            ? displayText(ZoomField, positionForField(ZoomField, zoom)) + QStringLiteral(" degrees")
            : unheldValueText(ZoomField, zoom) + QStringLiteral(", which");
    report(call.err(),
           QStringLiteral("%1: %2: %3 opens no picture; only its background is drawn")
               .arg(inputName(call.arguments().at(0)), valueName(camera, ZoomField), value));
}

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

    const bool eye = call.isSet(EyeOption);
    QSize size = EyePictureSize;
    if (call.isSet(SizeOption)) {
        if (!eye)
            return call.usageError(QStringLiteral("--size needs --eye"));
        const std::optional<QSize> given = eyeSizeFromArgument(call.value(SizeOption));
        if (!given)
            return call.usageError(
                QStringLiteral("--size takes WxH, each side from 64 to 4096, not '%1'")
                    .arg(call.value(SizeOption)));
        size = *given;
    }

    if (eye && !isEyePictureArea(camera ? size : eyeSheetSize(size), scale))
        return call.usageError(
            QStringLiteral("--size %1x%2 at --scale %3 makes a picture of more than %4 pixels")
                .arg(size.width())
                .arg(size.height())
                .arg(call.value(ScaleOption).trimmed())
                .arg(MaximumEyePixels));

    CameraDocument document;
    if (const int code = readCameraFile(call.arguments().at(0), &document, call.streams()))
        return code;
    const CameraSet &cameras = document.DocumentCameras;
    // The values as selecting the camera in the editor shows them.
    QImage picture;
    if (eye) {
        for (int k = 0; k < CameraCount; ++k) {
            if (!camera || *camera == k)
                warnIfBlind(call, k, cameras[k], size * scale);
        }
        picture = camera ? renderEyeView(viewCameraForRecord(cameras[*camera]), size, scale)
                         : renderEyeSheet(cameras, size, scale);
    } else {
        picture = camera ? renderCameraViews(viewCameraForRecord(cameras[*camera]), scale)
                         : renderCameraSheet(cameras, scale);
    }
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
         "Draw the cameras in the editor's views, or what they see, as PNG.",
         "FILE [-c CAMERA] [--eye] -o OUT.png",
         "With -c, one picture of CAMERA (a camera name or 0-5): the three views as the\n"
         "main window lays them out, pixel for pixel as the editor draws them at 96\n"
         "dots per inch. Without -c, a sheet of the six cameras, one row each in camera\n"
         "order, headed by the camera's caption. The values drawn are the editor's: the\n"
         "stored record through the sliders, as selecting the camera shows it. Needs no\n"
         "display.\n"
         "With --eye, what the camera sees instead, 640 x 480 unless --size says: the\n"
         "views' car sketch made solid, the ground with a grid of 1 m and the sky, in a\n"
         "pinhole projection; Zoom is the picture's full width in degrees. Yaw2 and\n"
         "Pitch2 are not drawn (the editor does not interpret them), nor the real car.\n"
         "A Zoom of 0 or 180 draws only the background, with a warning. Without -c, a\n"
         "sheet of the six cameras' eye views, two across and three down.\n"
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
                             QStringLiteral("S")),
          QCommandLineOption(EyeOption, QStringLiteral("Draw what the camera sees.")),
          QCommandLineOption(SizeOption,
                             QStringLiteral("With --eye, a picture of W x H, 64 to 4096 each."),
                             QStringLiteral("WxH"))},
         runRender},
    };
}

} // namespace kestrelcam
