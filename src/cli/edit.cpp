// set and copy: camera files changed in place, several at once. Every file is read
// and every value checked before anything is written; then each file is replaced
// atomically, so a failure leaves every file not yet written as it was.

#include "command.h"

#include "camerafile.h"
#include "cameranames.h"
#include "jsonnumbers.h"
#include "sliderrange.h"
#include "slidervalues.h"
#include "valuetext.h"

#include <QFileInfo>

#include <array>
#include <optional>
#include <set>

namespace kestrelcam {

namespace {

const QString QuietOption = QStringLiteral("quiet");
const QString ToOption = QStringLiteral("to");
const QString StandardStream = QStringLiteral("-");

// A file to change: its path, the document read from it and what it holds now.
struct Target
{
    QString path;
    CameraDocument document;
    QStringList changes; // one line per changed value
};

// One changed value as a line: "lotus.cam: nose.zoom: 77.99 -> 70 degrees".
QString changeLine(const Target &target, int camera, int field, float from, float to,
                   const QString &note = QString())
{
    QString before = roundedValueText(field, from, true);
    QString after = roundedValueText(field, to, true);
    // Values that differ below the editor's precision are told exactly.
    if (before == after) {
        before = jsonValueText(field, from);
        after = jsonValueText(field, to);
    }
    return QStringLiteral("%1: %2: %3 -> %4 %5%6")
        .arg(inputName(target.path), valueName(camera, field), before, after, unitName(field),
             note.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(note));
}

// Sets one stored value of a target, noting the change.
void change(Target &target, int camera, int field, float value, const QString &note = QString())
{
    CameraRecord &record = target.document.DocumentCameras[camera];
    const float old = record.field(field);
    if (floatBits(old) == floatBits(value))
        return;
    target.changes << changeLine(target, camera, field, old, value, note);
    record.setField(field, value);
}

// Names that are given twice: the same file would be changed twice.
bool namedTwice(const QStringList &paths, Invocation &call)
{
    std::set<QString> seen;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        const QString key = path == StandardStream ? path
                            : info.exists()        ? info.canonicalFilePath()
                                                   : info.absoluteFilePath();
        if (!seen.insert(key).second) {
            call.usageError(QStringLiteral("'%1' is named twice").arg(inputName(path)));
            return true;
        }
    }
    return false;
}

// Reads every target; any failure is told and nothing is written.
int readTargets(const QStringList &paths, Invocation &call, std::vector<Target> *targets)
{
    int result = ExitSuccess;
    for (const QString &path : paths) {
        Target target{path, {}, {}};
        if (const int code = readCameraFile(path, &target.document, call.streams())) {
            result = std::max(result, code);
            continue;
        }
        targets->push_back(target);
    }
    return result;
}

// Writes each changed target in place (or to -o) and tells its changes, stopping at
// the first file that cannot be written.
int writeTargets(std::vector<Target> &targets, Invocation &call)
{
    for (Target &target : targets) {
        // Saved as every save of the editor is: with the standard header.
        target.document.DocumentHeader = MakeCCamHeader();
        const QByteArray bytes = serializeCameraFile(target.document);
        const QString to = call.hasOutput() ? call.output() : target.path;
        if (target.changes.isEmpty() && to == target.path && to != StandardStream)
            continue; // nothing to change: the file stays as it is
        const bool replace = !call.hasOutput() || call.force();
        if (const int code = writeOutput(to, bytes, replace, call.streams()))
            return code;
        // A result on standard output leaves no room for the lines.
        if (!call.isSet(QuietOption) && to != StandardStream) {
            for (const QString &line : target.changes)
                call.out() << line << '\n';
        }
    }
    return ExitSuccess;
}

// One CAMERA.FIELD=VALUE of set.
struct Assignment
{
    QString text;
    std::vector<int> cameras;
    int field = 0;
    QString value;
};

// Reads one assignment, or prints why it is wrong usage.
std::optional<Assignment> parseAssignment(const QString &text, QTextStream &err)
{
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    const qsizetype dot = text.left(equals).indexOf(QLatin1Char('.'));
    if (equals < 0 || dot < 0) {
        report(err, QStringLiteral("'%1': not CAMERA.FIELD=VALUE").arg(text));
        return std::nullopt;
    }
    Assignment assignment{text, camerasFromArgument(text.left(dot)), 0, text.mid(equals + 1)};
    if (assignment.cameras.empty()) {
        report(err, QStringLiteral("'%1': unknown camera '%2'").arg(text, text.left(dot)));
        return std::nullopt;
    }
    const QString field = text.mid(dot + 1, equals - dot - 1);
    const std::optional<int> f = fieldFromArgument(field);
    if (!f) {
        report(err, QStringLiteral("'%1': unknown field '%2'").arg(text, field));
        return std::nullopt;
    }
    assignment.field = *f;
    if (assignment.value.isEmpty()) {
        report(err, QStringLiteral("'%1': no value").arg(text));
        return std::nullopt;
    }
    return assignment;
}

int runSet(Invocation &call)
{
    // Arguments holding "=" are assignments, the others files; after "--" only
    // assignments, so that a file name may hold "=".
    const QStringList arguments = call.arguments();
    QStringList paths, texts;
    const qsizetype firstAssignment = arguments.size() - call.argumentsAfterDashes();
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const bool assignment = call.argumentsAfterDashes()
                                    ? i >= firstAssignment
                                    : arguments[i].contains(QLatin1Char('='));
        (assignment ? texts : paths) << arguments[i];
    }
    if (paths.isEmpty() || texts.isEmpty())
        return call.usageError(QStringLiteral("missing %1")
                                   .arg(paths.isEmpty() ? QStringLiteral("FILE")
                                                        : QStringLiteral("CAMERA.FIELD=VALUE")));
    if (call.hasOutput() && paths.size() > 1)
        return call.usageError(QStringLiteral("-o takes one FILE"));
    if (namedTwice(paths, call))
        return ExitUsage;

    // Wrong usage first, for every assignment; a value named twice (also through
    // all) is wrong usage too.
    std::vector<Assignment> assignments;
    std::array<std::array<bool, CameraRecord::FieldCount>, CameraCount> named{};
    for (const QString &text : texts) {
        std::optional<Assignment> assignment = parseAssignment(text, call.err());
        if (!assignment)
            return ExitUsage;
        for (const int camera : assignment->cameras) {
            if (named[camera][assignment->field]) {
                report(call.err(), QStringLiteral("'%1': %2 is named twice")
                                       .arg(text, valueName(camera, assignment->field)));
                return ExitUsage;
            }
            named[camera][assignment->field] = true;
        }
        assignments.push_back(*assignment);
    }

    // Then each value as the editor's typed entry takes it: every refusal is told.
    std::vector<TypedEntryResult> entries;
    bool refused = false;
    for (const Assignment &assignment : assignments) {
        const TypedEntryResult entry = evaluateTypedEntry(assignment.field, assignment.value);
        entries.push_back(entry);
        if (entry.outcome == TypedEntryResult::Accepted)
            continue;
        refused = true;
        const QString why =
            entry.outcome == TypedEntryResult::OutOfRange
                ? QStringLiteral("%1 (%2)").arg(QLatin1String(ValueOutsideOfRangeMessage),
                                                typedRangeText(assignment.field))
                : QLatin1String(sliderSpec(assignment.field).nonNumericMessage);
        report(call.err(), QStringLiteral("%1: %2").arg(assignment.text, why));
    }
    if (refused)
        return ExitNegative;

    std::vector<Target> targets;
    if (const int code = readTargets(paths, call, &targets))
        return code;
    for (Target &target : targets) {
        for (std::size_t i = 0; i < assignments.size(); ++i) {
            const int field = assignments[i].field;
            const int position = entries[i].position;
            // Rounded to the slider's step, then stored as Apply stores a position.
            const double typed = parseTypedNumber(assignments[i].value).value_or(0);
            const double kept = sliderValue(field, position);
            const QString note = typed == kept ? QString()
                                               : QStringLiteral("%1 rounded to steps of %2 %3")
                                                     .arg(assignments[i].value.trimmed(),
                                                          displayText(field, 1), unitName(field));
            for (const int camera : assignments[i].cameras)
                change(target, camera, field, fieldForPosition(field, position), note);
        }
    }
    return writeTargets(targets, call);
}

int runCopy(Invocation &call)
{
    const QStringList arguments = call.arguments();
    const std::vector<int> cameras = camerasFromArgument(arguments[1]);
    if (cameras.empty())
        return call.usageError(QStringLiteral("unknown camera '%1'").arg(arguments[1]));
    std::vector<int> into = cameras;
    if (call.isSet(ToOption)) {
        into = camerasFromArgument(call.value(ToOption));
        if (into.size() != 1 || cameras.size() != 1)
            return call.usageError(QStringLiteral("--to takes one camera, for one camera copied"));
    }
    const QStringList paths = arguments.mid(2);
    if (namedTwice(paths, call))
        return ExitUsage;
    if (arguments[0] == StandardStream && paths.contains(StandardStream))
        return call.usageError(QStringLiteral("standard input is named twice"));

    CameraDocument source;
    if (const int code = readCameraFile(arguments[0], &source, call.streams()))
        return code;
    std::vector<Target> targets;
    if (const int code = readTargets(paths, call, &targets))
        return code;
    // The stored record bit for bit, not through the sliders.
    for (Target &target : targets) {
        for (std::size_t i = 0; i < cameras.size(); ++i) {
            const CameraRecord &record = source.DocumentCameras[cameras[i]];
            for (int field = 0; field < CameraRecord::FieldCount; ++field)
                change(target, into[i], field, record.field(field));
        }
    }
    return writeTargets(targets, call);
}

} // namespace

std::vector<Command> editCommands()
{
    return {
        {"set",
         "Change values as the editor's typed entry and Apply do.",
         "FILE... [--] CAMERA.FIELD=VALUE...",
         "CAMERA is nose, gearbox, zeppelin, rollbar, frontsusp, rearsusp, 0-5, or all\n"
         "(or *) for all six; FIELD is x, y, z, yaw1, pitch1, bank, zoom, yaw2 or pitch2;\n"
         "both any case. VALUE is metres for x, y, z and degrees for the angles, taken as\n"
         "the editor takes a typed value, rounded to the slider's step (0.004 m, 0.01\n"
         "degrees) and stored as Apply stores it. Ranges: x and y -120 to 120 m, z -0.4\n"
         "to 120 m, zoom 0 to 180 degrees, the other angles -180 to 180 degrees.\n"
         "Every other value keeps its bits; a changed file gets the standard header.\n"
         "Arguments holding = are assignments, the others files; after -- only\n"
         "assignments. Every file is read and every value checked before anything is\n"
         "written; then each FILE is replaced atomically. Prints one line per changed\n"
         "value: FILE: CAMERA.FIELD: OLD -> NEW UNIT.\n"
         "Exit status: 0 written, 1 a FILE is rejected or a value refused, 2 wrong usage\n"
         "(also a value named twice or empty) or a file that cannot be read or written.",
         {{"FILE",
           "The camera files, changed in place (- for standard input, written\n"
           "to standard output).",
           "FILE..."},
          {"CAMERA.FIELD=VALUE", "A value to set.", "CAMERA.FIELD=VALUE..."}},
         0, // files and assignments may come in any order: runSet tells which is missing
         -1,
         OutputUse::Optional,
         "Write the changed file to OUT instead of replacing FILE (one FILE only).",
         {QCommandLineOption({QStringLiteral("q"), QuietOption},
                             QStringLiteral("Print no line for the changed values."))},
         runSet},
        {"copy",
         "Copy cameras bit for bit from one file into others.",
         "SRC CAMERA DEST... [--to CAMERA]",
         "Copies the stored record of CAMERA (a camera name, 0-5, or all for the six)\n"
         "from SRC into each DEST, into the same camera or the one named by --to, bit for\n"
         "bit: not through the sliders, so nothing is rounded. Each DEST is replaced\n"
         "atomically with the standard header, after every file has been read. Prints\n"
         "one line per changed value, as set does.\n"
         "Exit status: 0 copied, 1 a file is rejected, 2 wrong usage or a file that\n"
         "cannot be read or written.",
         {{"SRC", "The camera file to copy from (- for standard input).", "SRC"},
          {"CAMERA", "The camera to copy, or all.", "CAMERA"},
          {"DEST", "The camera files to copy into, changed in place.", "DEST..."}},
         3,
         -1,
         OutputUse::None,
         nullptr,
         {QCommandLineOption(ToOption, QStringLiteral("Copy into CAMERA of each DEST."),
                             QStringLiteral("CAMERA")),
          QCommandLineOption({QStringLiteral("q"), QuietOption},
                             QStringLiteral("Print no line for the changed values."))},
         runCopy},
    };
}

} // namespace kestrelcam
