#include "kestrelcam.h"

#include "camerafile.h"
#include "camerajson.h"
#include "cameranames.h"
#include "commandio.h"
#include "moddefaultvariablesetup.h"
#include "slidervalues.h"
#include "valuetext.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace kestrelcam {

namespace {

const QString ProgramName = QStringLiteral("kestrel-cam");

// Metres as the shortest binary32 text, angles as degrees.
QString valueText(int field, float value)
{
    return sliderSpec(field).isPosition() ? floatText(value) : degreesText(value);
}

QString unitName(int field)
{
    return sliderSpec(field).isPosition() ? QStringLiteral("m") : QStringLiteral("degrees");
}

// What the editor's value display shows at a slider position.
QString displayText(int field, int position)
{
    return formatPlainDecimal(sliderValue(field, position));
}

// ---- the commands ----

// What a command gets: its parser after parsing, and the streams.
struct Invocation
{
    const QCommandLineParser &parser;
    QTextStream &out;
    QTextStream &err;
    const QCommandLineOption &output;
    const QCommandLineOption &force;
};

int runShow(const Invocation &call)
{
    const QString path = call.parser.positionalArguments().at(0);
    CameraDocument document;
    if (const int code = readCameraFile(path, &document, call.err))
        return code;

    // Rows of cells: the heading, then one per camera.
    std::vector<QStringList> rows;
    QStringList heading{QStringLiteral("Camera")};
    for (int field = 0; field < CameraRecord::FieldCount; ++field)
        heading << QStringLiteral("%1 (%2)").arg(
            QLatin1String(FieldJsonNames[field]),
            sliderSpec(field).isPosition() ? QStringLiteral("m") : QStringLiteral("deg"));
    rows.push_back(heading);
    for (int camera = 0; camera < CameraCount; ++camera) {
        QStringList row{QLatin1String(CameraCaptions[camera])};
        for (int field = 0; field < CameraRecord::FieldCount; ++field)
            row << valueText(field, document.DocumentCameras[camera].field(field));
        rows.push_back(row);
    }

    // The caption column aligned left, the numbers right, two blanks between.
    std::vector<qsizetype> widths(rows.front().size(), 0);
    for (const QStringList &row : rows) {
        for (qsizetype column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    }
    for (const QStringList &row : rows) {
        QString line = row[0].leftJustified(widths[0]);
        for (qsizetype column = 1; column < row.size(); ++column)
            line += QStringLiteral("  ") + row[column].rightJustified(widths[column]);
        call.out << line << '\n';
    }
    return ExitSuccess;
}

int runCheck(const Invocation &call)
{
    int result = ExitSuccess;
    for (const QString &path : call.parser.positionalArguments()) {
        const QString name = shownPath(path);
        QByteArray bytes;
        qint64 size = 0;
        QString why;
        if (!readInputFile(path, CameraFileSize, &bytes, &size, &why)) {
            // An error, not a verdict: on the error stream.
            report(call.err, name + QStringLiteral(": ") + why);
            result = ExitUsage;
            continue;
        }
        CameraDocument document;
        const CameraFileStatus status = parseCameraFile(bytes, &document);
        if (status != CameraFileStatus::Ok) {
            call.out << name << ": " << cameraFileRejection(status) << '\n';
            result = std::max(result, int(ExitNegative));
            continue;
        }
        call.out << name << ": ok\n";

        // Values the editor's sliders cannot hold, and what they show instead.
        const CameraSet &cameras = document.DocumentCameras;
        for (int camera = 0; camera < CameraCount; ++camera) {
            for (int field = 0; field < CameraRecord::FieldCount; ++field) {
                const float value = cameras[camera].field(field);
                const SliderSpec &info = sliderSpec(field);
                const double steps = sliderSteps(field, value);
                if (steps >= info.minimum && steps <= info.maximum)
                    continue;
                call.out << name << ": " << valueName(camera, field) << ": ";
                if (std::isnan(value))
                    call.out << floatText(value) << " is not a number";
                else
                    call.out << valueText(field, value) << ' ' << unitName(field)
                             << " is beyond the slider's range ("
                             << displayText(field, info.minimum) << " to "
                             << displayText(field, info.maximum) << ')';
                call.out << "; the editor shows "
                         << displayText(field, positionForField(field, value)) << '\n';
            }
        }
    }
    return result;
}

int runDiff(const Invocation &call)
{
    const QStringList paths = call.parser.positionalArguments();
    CameraDocument a, b;
    const int codeA = readCameraFile(paths[0], &a, call.err);
    const int codeB = readCameraFile(paths[1], &b, call.err);
    if (codeA || codeB)
        return std::max(codeA, codeB);

    const auto describe = [](int field, float value) {
        const QString stored = floatText(value);
        if (sliderSpec(field).isPosition())
            return stored + QStringLiteral(" m");
        return QStringLiteral("%1 rad (%2 degrees)").arg(stored, degreesText(value));
    };
    int result = ExitSuccess;
    for (int camera = 0; camera < CameraCount; ++camera) {
        for (int field = 0; field < CameraRecord::FieldCount; ++field) {
            const float x = a.DocumentCameras[camera].field(field);
            const float y = b.DocumentCameras[camera].field(field);
            if (floatBits(x) == floatBits(y))
                continue;
            call.out << valueName(camera, field) << ": " << describe(field, x) << " -> "
                     << describe(field, y) << '\n';
            result = ExitNegative;
        }
    }
    return result;
}

int runExport(const Invocation &call)
{
    CameraDocument document;
    if (const int code =
            readCameraFile(call.parser.positionalArguments().at(0), &document, call.err))
        return code;
    const QByteArray json = exportCameraJson(document);
    if (!call.parser.isSet(call.output)) {
        call.out << QString::fromUtf8(json);
        return ExitSuccess;
    }
    return writeOutput(call.parser.value(call.output), json, call.parser.isSet(call.force),
                       call.err);
}

int runImport(const Invocation &call)
{
    const QString path = call.parser.positionalArguments().at(0);
    const QString name = shownPath(path);
    QByteArray json;
    qint64 size = 0;
    QString why;
    if (!readInputFile(path, MaxJsonSize, &json, &size, &why)) {
        report(call.err, name + QStringLiteral(": ") + why);
        return ExitUsage;
    }
    if (size < 0 || size > MaxJsonSize) {
        report(call.err, name + QStringLiteral(": larger than 1 MiB"));
        return ExitNegative;
    }

    CameraDocument document{MakeCCamHeader(), {}};
    QString error;
    if (!importCameraJson(json, &document.DocumentCameras, &error)) {
        report(call.err, name + QStringLiteral(": ") + error);
        return ExitNegative;
    }
    return writeOutput(call.parser.value(call.output), serializeCameraFile(document),
                       call.parser.isSet(call.force), call.err);
}

int runNew(const Invocation &call)
{
    const DefaultTable defaults = SetupDefaults();
    const QString make = call.parser.positionalArguments().at(0);
    const std::optional<int> carType = makeFromArgument(make, defaults);
    if (!carType) {
        report(call.err, QStringLiteral("unknown make '%1'").arg(make));
        return ExitUsage;
    }
    // The document as the editor's new-file command makes it, before any Apply.
    const CameraDocument document{MakeCCamHeader(), defaults.DefaultCameras(*carType)};
    return writeOutput(call.parser.value(call.output), serializeCameraFile(document),
                       call.parser.isSet(call.force), call.err);
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
    Assignment assignment{text, {}, 0, text.mid(equals + 1)};
    const QString camera = text.left(dot);
    const QString field = text.mid(dot + 1, equals - dot - 1);
    if (camera.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0 ||
        camera == QLatin1String("*")) {
        for (int c = 0; c < CameraCount; ++c)
            assignment.cameras.push_back(c);
    } else if (const std::optional<int> c = cameraFromArgument(camera)) {
        assignment.cameras.push_back(*c);
    } else {
        report(err, QStringLiteral("'%1': unknown camera '%2'").arg(text, camera));
        return std::nullopt;
    }
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

int runSet(const Invocation &call)
{
    const QStringList arguments = call.parser.positionalArguments();
    const QString path = arguments.at(0);

    // Wrong usage first, for every assignment; a value named twice (also through
    // all) is wrong usage too.
    std::vector<Assignment> assignments;
    std::array<std::array<bool, CameraRecord::FieldCount>, CameraCount> named{};
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        std::optional<Assignment> assignment = parseAssignment(arguments[i], call.err);
        if (!assignment)
            return ExitUsage;
        for (const int camera : assignment->cameras) {
            if (named[camera][assignment->field]) {
                report(call.err, QStringLiteral("'%1': %2 is named twice")
                                     .arg(assignment->text, valueName(camera, assignment->field)));
                return ExitUsage;
            }
            named[camera][assignment->field] = true;
        }
        assignments.push_back(*assignment);
    }

    // Then each value as the editor's typed entry takes it: every refusal is told.
    std::vector<float> stored;
    for (const Assignment &assignment : assignments) {
        const SliderSpec &info = sliderSpec(assignment.field);
        const TypedEntryResult entry = evaluateTypedEntry(assignment.field, assignment.value);
        if (entry.outcome == TypedEntryResult::Accepted) {
            // Rounded to the slider's step, then stored as Apply stores a position.
            stored.push_back(fieldForPosition(assignment.field, entry.position));
            continue;
        }
        const char *why = entry.outcome == TypedEntryResult::OutOfRange ? ValueOutsideOfRangeMessage
                                                                        : info.nonNumericMessage;
        report(call.err, QStringLiteral("%1: '%2': %3")
                             .arg(shownPath(path), assignment.text, QLatin1String(why)));
    }
    if (stored.size() != assignments.size())
        return ExitNegative;

    CameraDocument document;
    if (const int code = readCameraFile(path, &document, call.err))
        return code;
    for (std::size_t i = 0; i < assignments.size(); ++i) {
        for (const int camera : assignments[i].cameras)
            document.DocumentCameras[camera].setField(assignments[i].field, stored[i]);
    }
    // Saved as every save of the editor is: with the standard header.
    document.DocumentHeader = MakeCCamHeader();
    // Without -o the file replaces its own input, which needs no --force.
    const bool inPlace = !call.parser.isSet(call.output);
    return writeOutput(inPlace ? path : call.parser.value(call.output),
                       serializeCameraFile(document), inPlace || call.parser.isSet(call.force),
                       call.err);
}

// ---- the command table ----

enum OptionUse
{
    NoOutput,       // results go to standard output
    OptionalOutput, // -o OUT, else standard output or the file in place
    RequiredOutput  // -o FILE is needed: binary output never goes to standard output
};

struct Argument
{
    const char *name;
    const char *description;
    const char *syntax; // as the usage line shows it
};

struct Command
{
    const char *name;
    const char *summary; // the line in the program's help
    const char *usage;   // what follows "kestrel-cam NAME [options]"
    const char *description;
    std::vector<Argument> arguments;
    qsizetype minimumArguments;
    qsizetype maximumArguments; // -1: no limit
    OptionUse output;
    int (*run)(const Invocation &);
};

const std::vector<Command> &commands()
{
    static const std::vector<Command> table = {
        {"show",
         "Print the six cameras as a table, metres and degrees.",
         "FILE",
         "Prints one row per camera, named as the editor's camera options name it. Metres\n"
         "are the shortest text that reads back as the stored binary32; degrees are the\n"
         "stored radians converted as the editor converts them, in their shortest text;\n"
         "inf, -inf and nan(0xBITS) for values that are not finite.\n"
         "Exit status: 0 shown, 1 the file is rejected, 2 wrong usage or unreadable.",
         {{"FILE", "The camera file.", "FILE"}},
         1,
         1,
         NoOutput,
         runShow},
        {"check",
         "Test files as the editor's open does; list values no slider holds.",
         "FILE...",
         "Prints \"FILE: ok\" or \"FILE: \" and the editor's message for each file; a file\n"
         "that cannot be read is an error, told on standard error. For an accepted\n"
         "file, one further line for each value beyond its slider's range, infinite or\n"
         "NaN, with the value the editor shows instead.\n"
         "Exit status: 0 every file accepted, 1 some file rejected, 2 wrong usage or some\n"
         "file unreadable.",
         {{"FILE", "The camera files.", "FILE..."}},
         1,
         -1,
         NoOutput,
         runCheck},
        {"diff",
         "Print every value whose stored bits differ between two files.",
         "A B",
         "Prints one line for each value whose bits differ: CAMERA.FIELD: A -> B, metres\n"
         "as stored, angles in radians as stored and in degrees. Nothing else is printed,\n"
         "and nothing at all for identical files; the same NaN in both files is no\n"
         "difference.\n"
         "Exit status: 0 no difference, 1 the files differ or A or B is rejected, 2 wrong\n"
         "usage or unreadable.",
         {{"A", "The first camera file.", "A"}, {"B", "The second camera file.", "B"}},
         2,
         2,
         NoOutput,
         runDiff},
        {"export",
         "Write a camera file as JSON text, to standard output or to OUT.",
         "FILE",
         "Writes {\"format\": \"kestrel-cam\", \"version\": 1, \"header\": {...},\n"
         "\"cameras\": [six cameras in file order]}, values in metres and radians: a\n"
         "finite value as the shortest number that reads back as the stored binary32,\n"
         "a NaN, an infinity or -0 as \"0x\" and the eight hex digits of its bits.\n"
         "Exit status: 0 written, 1 the file is rejected, 2 wrong usage or a file that\n"
         "cannot be read or written.",
         {{"FILE", "The camera file.", "FILE"}},
         1,
         1,
         OptionalOutput,
         runExport},
        {"import",
         "Write a camera file from JSON text as export writes it.",
         "JSON -o FILE",
         "Reads a JSON camera document (at most 1 MiB): format \"kestrel-cam\", version 1,\n"
         "an optional header (signature \"MACC\", dataLength 216, reserved ignored) and six\n"
         "cameras in file order, each value a number or a \"0x\" string of eight hex\n"
         "digits. Writes the file with the standard header, \"MACC\", 0, 216.\n"
         "Exit status: 0 written, 1 the JSON is no valid camera document, 2 wrong usage\n"
         "or a file that cannot be read or written.",
         {{"JSON", "The JSON file (/dev/stdin for standard input).", "JSON"}},
         1,
         1,
         RequiredOutput,
         runImport},
        {"new",
         "Write a make's six default cameras (Brabham, BRM, Coventry, ...).",
         "MAKE -o FILE",
         "Writes the file the editor's new-file command makes for MAKE, before any Apply.\n"
         "Exit status: 0 written, 2 wrong usage or a file that cannot be written.",
         {{"MAKE", "Brabham, BRM, Coventry, Eagle, Ferrari, Lotus or Murasama, any case.", "MAKE"}},
         1,
         1,
         RequiredOutput,
         runNew},
        {"set",
         "Change values as the editor's typed entry and Apply do.",
         "FILE CAMERA.FIELD=VALUE...",
         "CAMERA is nose, gearbox, zeppelin, rollbar, frontsusp, rearsusp, 0-5, or all\n"
         "(or *) for all six; FIELD is x, y, z, yaw1, pitch1, bank, zoom, yaw2 or pitch2;\n"
         "both any case. VALUE is metres for x, y, z and degrees for the angles, taken as\n"
         "the editor takes a typed value: its ranges and refusals, rounded to the\n"
         "slider's step and stored as Apply stores it. Every other value keeps its bits;\n"
         "the file gets the standard header. Every assignment is checked before anything\n"
         "is written; without -o, FILE is replaced atomically.\n"
         "Exit status: 0 written, 1 FILE is rejected or a value refused, 2 wrong usage\n"
         "(also a value named twice or empty) or a file that cannot be read or written.",
         {{"FILE", "The camera file.", "FILE"},
          {"CAMERA.FIELD=VALUE", "A value to set.", "CAMERA.FIELD=VALUE..."}},
         2,
         -1,
         OptionalOutput,
         runSet},
    };
    return table;
}

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                              QStringLiteral("Displays help on commandline options."));
}

// Qt's help text with our own usage line: Qt names the running executable there.
QString helpWithUsage(const QCommandLineParser &parser, const QString &usage)
{
    const QString text = parser.helpText();
    return QStringLiteral("Usage: ") + usage + text.mid(text.indexOf(QLatin1Char('\n')));
}

QString programHelp(const QCommandLineParser &parser)
{
    QString text = helpWithUsage(parser, ProgramName + QStringLiteral(" [options] COMMAND ..."));
    text += QStringLiteral("\nCommands:\n");
    qsizetype width = 0;
    for (const Command &command : commands())
        width = std::max(width, qsizetype(qstrlen(command.name)));
    for (const Command &command : commands())
        text += QStringLiteral("  %1  %2\n")
                    .arg(QString::fromLatin1(command.name).leftJustified(width),
                         QLatin1String(command.summary));
    // The names as the lookups know them.
    QStringList cameras, fields, makes;
    for (const char *camera : CameraArgumentNames)
        cameras << QLatin1String(camera);
    for (const char *field : FieldArgumentNames)
        fields << QLatin1String(field);
    // The three positions first, then the six angles.
    fields[2] += QStringLiteral(" (metres)");
    fields.last() += QStringLiteral(" (degrees)");
    const DefaultTable defaults = SetupDefaults();
    for (int carType = 0; carType < CarTypeCount; ++carType)
        makes << defaults.MakeName(carType);
    text += QStringLiteral("\n'kestrel-cam COMMAND --help' describes a command's arguments and "
                           "options.\n\nCameras: %1, or 0-%2.\nFields: %3.\nMakes: %4.\n")
                .arg(cameras.join(QStringLiteral(", ")))
                .arg(CameraCount - 1)
                .arg(fields.join(QStringLiteral(", ")), makes.join(QStringLiteral(", ")));
    text += QStringLiteral(
        "Names of cameras, fields and makes may be written in any case.\n"
        "\nExit status:\n"
        "  0  success (check: every file accepted; diff: no difference)\n"
        "  1  a negative answer or a refused input: check found a rejected file, diff\n"
        "     found a difference, an input file failed the camera file tests, a JSON\n"
        "     file is no valid camera document, a value was refused\n"
        "  2  wrong usage (unknown command, option, camera, field or make; missing\n"
        "     argument), a file that is missing or cannot be read or written, or\n"
        "     standard output that does not take the result\n"
        "Errors go to standard error, one line each.\n");
    return text;
}

int usageError(QTextStream &err, const QString &why, const QString &helpCommand)
{
    QString text = why;
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    report(err, text + QStringLiteral("; see '%1 --help'").arg(helpCommand));
    return ExitUsage;
}

int runCommand(const Command &command, const QStringList &arguments, QTextStream &out,
               QTextStream &err)
{
    const QString name = ProgramName + QLatin1Char(' ') + QLatin1String(command.name);
    QCommandLineParser parser;
    parser.setApplicationDescription(QLatin1String(command.summary) + QLatin1Char('\n') +
                                     QLatin1String(command.description));
    const QCommandLineOption help = helpOption();
    const QCommandLineOption output(
        {QStringLiteral("o"), QStringLiteral("output")},
        command.output == RequiredOutput
            ? QStringLiteral("Write the camera file to FILE (needed).")
            : (qstrcmp(command.name, "set") == 0
                   ? QStringLiteral("Write the changed file to OUT instead of replacing FILE.")
                   : QStringLiteral("Write to OUT instead of standard output.")),
        command.output == RequiredOutput ? QStringLiteral("FILE") : QStringLiteral("OUT"));
    const QCommandLineOption force({QStringLiteral("f"), QStringLiteral("force")},
                                   QStringLiteral("Replace the output file if it exists."));
    parser.addOption(help);
    if (command.output != NoOutput) {
        parser.addOption(output);
        parser.addOption(force);
    }
    for (const Argument &argument : command.arguments)
        parser.addPositionalArgument(QLatin1String(argument.name),
                                     QLatin1String(argument.description),
                                     QLatin1String(argument.syntax));

    if (!parser.parse(QStringList(name) + arguments))
        return usageError(err, parser.errorText(), name);
    if (parser.isSet(help)) {
        out << helpWithUsage(parser,
                             name + QStringLiteral(" [options] ") + QLatin1String(command.usage));
        return ExitSuccess;
    }
    const qsizetype count = parser.positionalArguments().size();
    if (count < command.minimumArguments)
        return usageError(err, QStringLiteral("missing argument"), name);
    if (command.maximumArguments >= 0 && count > command.maximumArguments)
        return usageError(err,
                          QStringLiteral("unexpected argument '%1'")
                              .arg(parser.positionalArguments().at(command.maximumArguments)),
                          name);
    if (command.output == RequiredOutput && !parser.isSet(output))
        return usageError(err, QStringLiteral("-o FILE is needed"), name);
    if (command.output != NoOutput) {
        // Nothing is taken silently: one output, named, and --force only for it.
        if (parser.values(output).size() > 1)
            return usageError(err, QStringLiteral("-o is given more than once"), name);
        if (parser.isSet(output) && parser.value(output).isEmpty())
            return usageError(err, QStringLiteral("-o needs a file name"), name);
        if (parser.isSet(force) && !parser.isSet(output))
            return usageError(err, QStringLiteral("--force goes with -o"), name);
    }
    return command.run({parser, out, err, output, force});
}

} // namespace

namespace {

int dispatch(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows, checks, compares and changes the 228-byte camera files (*.cam)\n"
                       "of the Kestrel editor, and turns them into JSON text and back."));
    const QCommandLineOption help = helpOption();
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays version information."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("COMMAND"),
                                 QStringLiteral("show, check, diff, export, import, new or set."));
    // Everything from the command on belongs to the command's own parser.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);

    if (!parser.parse(QStringList(ProgramName) + arguments))
        return usageError(err, parser.errorText(), ProgramName);
    if (parser.isSet(help)) {
        out << programHelp(parser);
        return ExitSuccess;
    }
    if (parser.isSet(version)) {
        out << ProgramName << ' ' << KESTREL_VERSION << '\n';
        return ExitSuccess;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(err, QStringLiteral("missing command"), ProgramName);
    for (const Command &command : commands()) {
        if (positional[0] == QLatin1String(command.name))
            return runCommand(command, positional.mid(1), out, err);
    }
    return usageError(err, QStringLiteral("unknown command '%1'").arg(positional[0]), ProgramName);
}

} // namespace

int runKestrelCam(const QStringList &arguments, QIODevice &out, QTextStream &err)
{
    CommandStreams streams(out, err);
    int code = dispatch(arguments, streams.out(), err);
    // A result that did not reach standard output (a full disk, a closed pipe) is a failure.
    QString why;
    if (!streams.flush(&why)) {
        report(err, QStringLiteral("standard output: ") + why);
        code = ExitUsage;
    }
    return code;
}

} // namespace kestrelcam
