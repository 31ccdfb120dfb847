// export, import and new: camera files made from JSON text, from the defaults, and
// camera files as JSON text.

#include "command.h"

#include "camerafile.h"
#include "camerajson.h"
#include "cameranames.h"
#include "moddefaultvariablesetup.h"

namespace kestrelcam {

namespace {

int runExport(Invocation &call)
{
    CameraDocument document;
    if (const int code = readCameraFile(call.arguments().at(0), &document, call.streams()))
        return code;
    const QByteArray json = exportCameraJson(document);
    if (!call.hasOutput()) {
        call.out() << QString::fromUtf8(json);
        return ExitSuccess;
    }
    return call.writeToOutput(json);
}

int runImport(Invocation &call)
{
    const QString path = call.arguments().at(0);
    const QString name = inputName(path);
    QByteArray json;
    qint64 size = 0;
    QString why;
    if (!readInputFile(path, MaxJsonSize, call.streams(), &json, &size, &why)) {
        report(call.err(), name + QStringLiteral(": ") + why);
        return ExitUsage;
    }
    if (size < 0 || size > MaxJsonSize) {
        report(call.err(), name + QStringLiteral(": larger than 1 MiB"));
        return ExitNegative;
    }
    CameraDocument document{MakeCCamHeader(), {}};
    QString error;
    QStringList warnings;
    if (!importCameraJson(json, &document.DocumentCameras, &error, &warnings)) {
        report(call.err(), name + QStringLiteral(": ") + error);
        return ExitNegative;
    }
    // Values the file format allows but no slider holds: written as they are, and told.
    for (const QString &warning : warnings)
        report(call.err(), name + QStringLiteral(": ") + warning);
    return call.writeToOutput(serializeCameraFile(document));
}

int runNew(Invocation &call)
{
    const DefaultTable defaults = SetupDefaults();
    const QString make = call.arguments().at(0);
    const std::optional<int> carType = makeFromArgument(make, defaults);
    if (!carType) {
        report(call.err(), QStringLiteral("unknown make '%1'").arg(make));
        return ExitUsage;
    }
    // The document as the editor's new-file command makes it, before any Apply.
    const CameraDocument document{MakeCCamHeader(), defaults.DefaultCameras(*carType)};
    return call.writeToOutput(serializeCameraFile(document));
}

} // namespace

std::vector<Command> convertCommands()
{
    return {
        {"export",
         "Write a camera file as JSON text, to standard output or to OUT.",
         "FILE [-o OUT]",
         "Writes {\"format\": \"kestrel-cam\", \"version\": 3, \"header\": {...},\n"
         "\"cameras\": [six cameras in file order]}, each camera's name first, then X, Y,\n"
         "Z, Yaw1, Pitch1, Bank, Zoom, Yaw2, Pitch2. Metres are the shortest number\n"
         "whose nearest binary32 is the stored value. Angles are in degrees, each the\n"
         "shortest number import reads back as the stored radians: an angle the editor\n"
         "stores for a slider position as its value display shows it (77.99), any other\n"
         "off those hundredths. A NaN or an infinity is \"0x\" and the eight hex digits\n"
         "of its bits.\n"
         "Exit status: 0 written, 1 the file is rejected, 2 wrong usage or a file that\n"
         "cannot be read or written.",
         {{"FILE", "The camera file (- for standard input).", "FILE"}},
         1,
         1,
         OutputUse::Optional,
         "Write to OUT (- for standard output) instead of standard output.",
         {},
         runExport},
        {"import",
         "Write a camera file from JSON text as export writes it.",
         "JSON -o FILE",
         "Reads a JSON camera document (at most 1 MiB): format \"kestrel-cam\", version 3,\n"
         "2 or 1, an optional header (signature \"MACC\", dataLength 216, reserved\n"
         "ignored) and six cameras in file order. Version 3 has the angles in degrees: a\n"
         "whole number of hundredths from -300 to 300 is stored as the editor's typed\n"
         "entry and Apply store it (degrees rounded to binary32, then times\n"
         "3.141592654 / 180), any other number times 3.141592654 / 180, rounded once.\n"
         "Version 2 takes every angle in degrees the second way, version 1 in radians.\n"
         "Each value is a number or a \"0x\" string of eight hex digits; no key may\n"
         "appear twice in an object; standard JSON in UTF-8. A value no slider of the\n"
         "editor holds is written as it is, with a warning line on standard error.\n"
         "Writes the file with the standard header, \"MACC\", 0, 216.\n"
         "Exit status: 0 written, 1 the JSON is no valid camera document, 2 wrong usage\n"
         "or a file that cannot be read or written.",
         {{"JSON", "The JSON file (- for standard input).", "JSON"}},
         1,
         1,
         OutputUse::Required,
         "Write the camera file to FILE (needed; - for standard output).",
         {},
         runImport},
        {"new",
         "Write a make's six default cameras (Brabham, BRM, Coventry, ...).",
         "MAKE -o FILE",
         "Writes the file the editor's new-file command makes for MAKE, before any Apply.\n"
         "Exit status: 0 written, 2 wrong usage or a file that cannot be written.",
         {{"MAKE", "Brabham, BRM, Coventry, Eagle, Ferrari, Lotus or Murasama, any case.", "MAKE"}},
         1,
         1,
         OutputUse::Required,
         "Write the camera file to FILE (needed; - for standard output).",
         {},
         runNew},
    };
}

} // namespace kestrelcam
