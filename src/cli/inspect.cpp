// show, check and diff: reading camera files without changing them.

#include "command.h"

#include "camerafile.h"
#include "cameranames.h"
#include "jsonnumbers.h"
#include "sliderrange.h"
#include "slidervalues.h"
#include "valuetext.h"

#include <cmath>

namespace kestrelcam {

namespace {

const QString CameraOption = QStringLiteral("camera");
const QString ExactOption = QStringLiteral("exact");

// The note the editor's camera selector gives for the Zeppelin/Shoulder caption's "*".
constexpr int StarredCamera = 2;
const QString StarNote = QStringLiteral("* Zeppelin/Shoulder view not visible during replays.");

// The table: a label column and one fixed-width column per camera, so that a changed
// value changes one line and every row fits 80 columns. Exact texts are wider: they
// come in two tables of three cameras each.
constexpr int LabelWidth = 10;
constexpr int CellWidth = 11;
constexpr int ExactCellWidth = 19;

QString cell(const QString &text, int width)
{
    return text.size() >= width ? QLatin1Char(' ') + text : text.rightJustified(width);
}

QString valueText(int field, float value, bool exact)
{
    return exact ? jsonValueText(field, value) : roundedValueText(field, value);
}

void showTable(QTextStream &out, const CameraSet &cameras, int firstCamera, int lastCamera,
               int width, bool exact)
{
    QString heading = QString().leftJustified(LabelWidth);
    for (int camera = firstCamera; camera <= lastCamera; ++camera)
        heading += cell(QLatin1String(CameraArgumentNames[camera]) +
                            (camera == StarredCamera ? QStringLiteral(" *") : QString()),
                        width);
    out << heading << '\n';
    for (int field = 0; field < CameraRecord::FieldCount; ++field) {
        const bool metres = sliderSpec(field).isPosition();
        QString line = QStringLiteral("%1 %2")
                           .arg(QLatin1String(FieldArgumentNames[field]),
                                metres ? QStringLiteral("m") : QStringLiteral("deg"))
                           .leftJustified(LabelWidth);
        for (int camera = firstCamera; camera <= lastCamera; ++camera)
            line += cell(valueText(field, cameras[camera].field(field), exact), width);
        out << line << '\n';
    }
}

void showTables(QTextStream &out, const CameraSet &cameras, bool exact)
{
    if (exact) {
        showTable(out, cameras, 0, 2, ExactCellWidth, true);
        out << '\n';
        showTable(out, cameras, 3, 5, ExactCellWidth, true);
    } else {
        showTable(out, cameras, 0, CameraCount - 1, CellWidth, false);
    }
    out << StarNote << '\n';
}

// One camera as a list of its nine values. The caption line stands four lines above
// the first value, so that a diff of this text (git's textconv) names the camera of a
// change in its hunk header.
void showCamera(QTextStream &out, const CameraRecord &record, int camera, bool exact)
{
    out << CameraCaptions[camera] << " Camera (" << CameraArgumentNames[camera] << ")\n";
    out << (camera == StarredCamera ? StarNote : QString()) << '\n';
    out << "  field   unit            value\n";
    out << "  ------  -------  ------------\n";
    for (int field = 0; field < CameraRecord::FieldCount; ++field)
        out << "  " << QString::fromLatin1(FieldArgumentNames[field]).leftJustified(6) << "  "
            << unitName(field).leftJustified(7) << ' '
            << valueText(field, record.field(field), exact).rightJustified(12) << '\n';
}

int runShow(Invocation &call)
{
    std::vector<int> cameras;
    if (call.isSet(CameraOption)) {
        cameras = camerasFromArgument(call.value(CameraOption));
        if (cameras.empty())
            return call.usageError(
                QStringLiteral("unknown camera '%1'").arg(call.value(CameraOption)));
    }
    const bool exact = call.isSet(ExactOption);
    const QStringList paths = call.arguments();
    int result = ExitSuccess;
    bool first = true;
    for (const QString &path : paths) {
        CameraDocument document;
        if (const int code = readCameraFile(path, &document, call.streams())) {
            result = std::max(result, code);
            continue;
        }
        // Several files one after the other, each headed by its name.
        if (paths.size() > 1)
            call.out() << (first ? "" : "\n") << inputName(path) << "\n\n";
        first = false;
        if (cameras.empty()) {
            showTables(call.out(), document.DocumentCameras, exact);
            continue;
        }
        for (std::size_t i = 0; i < cameras.size(); ++i) {
            if (i)
                call.out() << '\n';
            showCamera(call.out(), document.DocumentCameras[cameras[i]], cameras[i], exact);
        }
    }
    return result;
}

int runCheck(Invocation &call)
{
    int result = ExitSuccess;
    for (const QString &path : call.arguments()) {
        const QString name = inputName(path);
        CameraDocument document;
        QByteArray bytes;
        qint64 size = 0;
        QString why;
        if (!readInputFile(path, CameraFileSize, call.streams(), &bytes, &size, &why)) {
            // An error, not a verdict: on the error stream.
            report(call.err(), name + QStringLiteral(": ") + why);
            result = ExitUsage;
            continue;
        }
        const CameraFileStatus status = parseCameraFile(bytes, &document);
        if (status != CameraFileStatus::Ok) {
            call.out() << name << ": " << rejectionText(status, size) << '\n';
            result = std::max(result, int(ExitNegative));
            continue;
        }
        call.out() << name << ": ok\n";

        // Values the editor's sliders cannot hold, and what they show instead.
        for (int camera = 0; camera < CameraCount; ++camera) {
            for (int field = 0; field < CameraRecord::FieldCount; ++field) {
                const float value = document.DocumentCameras[camera].field(field);
                if (!sliderHolds(field, value))
                    call.out() << name << ": " << valueName(camera, field) << ": "
                               << unheldValueText(field, value) << '\n';
            }
        }
    }
    return result;
}

int runDiff(Invocation &call)
{
    const QStringList paths = call.arguments();
    CameraDocument a, b;
    const int codeA = readCameraFile(paths[0], &a, call.streams());
    const int codeB = readCameraFile(paths[1], &b, call.streams());
    if (codeA || codeB)
        return std::max(codeA, codeB);

    int result = ExitSuccess;
    for (int camera = 0; camera < CameraCount; ++camera) {
        for (int field = 0; field < CameraRecord::FieldCount; ++field) {
            const float x = a.DocumentCameras[camera].field(field);
            const float y = b.DocumentCameras[camera].field(field);
            if (floatBits(x) == floatBits(y))
                continue;
            // The texts of show --exact and of JSON, in the editor's units.
            call.out() << valueName(camera, field) << ": " << jsonValueText(field, x) << " -> "
                       << jsonValueText(field, y) << ' ' << unitName(field) << '\n';
            result = ExitNegative;
        }
    }
    return result;
}

} // namespace

std::vector<Command> inspectCommands()
{
    return {
        {"show",
         "Print the cameras' values in metres and degrees.",
         "FILE... [-c CAMERA] [--exact]",
         "Prints a table of nine rows, the values with their units, by the six cameras,\n"
         "metres to 3 decimals and degrees to 2 as the editor's value displays show\n"
         "them; the stored radians are converted as the editor converts them. With -c,\n"
         "one camera (or each of all) as a list. --exact writes the shortest texts\n"
         "that give back the stored values. inf, -inf and nan(0xBITS) for values that\n"
         "are not finite. Several files are shown one after the other, each headed by\n"
         "its name. For git, one value per line with each camera's caption four lines\n"
         "above its values: textconv 'kestrel-cam show --exact -c all', xfuncname\n"
         "'^(.* Camera) \\([a-z]+\\)$'.\n"
         "Exit status: 0 shown, 1 a file is rejected, 2 wrong usage or unreadable.",
         {{"FILE", "The camera files (- for standard input).", "FILE..."}},
         1,
         -1,
         OutputUse::None,
         nullptr,
         {QCommandLineOption({QStringLiteral("c"), CameraOption},
                             QStringLiteral("Show only CAMERA, or each camera for all."),
                             QStringLiteral("CAMERA")),
          QCommandLineOption(ExactOption,
                             QStringLiteral("Exact values instead of the editor's precision."))},
         runShow},
        {"check",
         "Test files as the editor's open does; list values no slider holds.",
         "FILE...",
         "Prints \"FILE: ok\" or \"FILE: \" and the editor's message for each file (with\n"
         "the size of a file of the wrong length); a file that cannot be read is an\n"
         "error, told on standard error. For an accepted file, one further line for each\n"
         "value beyond its slider's range, infinite or NaN, with the value the editor\n"
         "shows instead.\n"
         "Exit status: 0 every file accepted, 1 some file rejected, 2 wrong usage or some\n"
         "file unreadable.",
         {{"FILE", "The camera files (- for standard input).", "FILE..."}},
         1,
         -1,
         OutputUse::None,
         nullptr,
         {},
         runCheck},
        {"diff",
         "Print every value whose stored bits differ between two files.",
         "A B",
         "Prints one line for each value whose bits differ: CAMERA.FIELD: A -> B UNIT, in\n"
         "metres and degrees as show --exact and export write them. Nothing else is\n"
         "printed, and nothing at all for identical files; the same NaN in both files is\n"
         "no difference.\n"
         "Exit status: 0 no difference, 1 the files differ or A or B is rejected, 2 wrong\n"
         "usage or unreadable.",
         {{"A", "The first camera file.", "A"}, {"B", "The second camera file.", "B"}},
         2,
         2,
         OutputUse::None,
         nullptr,
         {},
         runDiff},
    };
}

} // namespace kestrelcam
