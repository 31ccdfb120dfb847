#include "kestrelcam.h"

#include "cameranames.h"
#include "command.h"
#include "moddefaultvariablesetup.h"

#include <QFile>

#include <algorithm>

namespace kestrelcam {

namespace {

const QString ProgramName = QStringLiteral("kestrel-cam");

const std::vector<Command> &commands()
{
    static const std::vector<Command> table = [] {
        std::vector<Command> all;
        for (auto group : {inspectCommands, convertCommands, editCommands, renderCommands}) {
            std::vector<Command> commands = group();
            std::move(commands.begin(), commands.end(), std::back_inserter(all));
        }
        return all;
    }();
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
        "Names of cameras, fields and makes may be written in any case. A file named\n"
        "- is standard input or standard output; ./- is a file of that name.\n"
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

int runCommand(const Command &command, const QStringList &arguments, CommandStreams &streams)
{
    QTextStream &err = streams.err();
    const QString name = ProgramName + QLatin1Char(' ') + QLatin1String(command.name);
    QCommandLineParser parser;
    parser.setApplicationDescription(QLatin1String(command.summary) + QLatin1Char('\n') +
                                     QLatin1String(command.description));
    const QCommandLineOption help = helpOption();
    parser.addOption(help);
    if (command.output != OutputUse::None) {
        parser.addOption(QCommandLineOption(
            {QStringLiteral("o"), QStringLiteral("output")}, QLatin1String(command.outputHelp),
            command.output == OutputUse::Required ? QStringLiteral("FILE")
                                                  : QStringLiteral("OUT")));
        parser.addOption(
            QCommandLineOption({QStringLiteral("f"), QStringLiteral("force")},
                               QStringLiteral("Replace the output file if it exists.")));
    }
    for (const QCommandLineOption &option : command.options)
        parser.addOption(option);
    for (const Argument &argument : command.arguments)
        parser.addPositionalArgument(QLatin1String(argument.name),
                                     QLatin1String(argument.description),
                                     QLatin1String(argument.syntax));

    if (!parser.parse(QStringList(name) + arguments))
        return usageError(err, parser.errorText(), name);
    if (parser.isSet(help)) {
        streams.out() << helpWithUsage(parser, name + QStringLiteral(" [options] ") +
                                                   QLatin1String(command.usage));
        return ExitSuccess;
    }
    const QStringList positional = parser.positionalArguments();
    // The first argument not given, by the name the help gives it: "missing DEST".
    if (positional.size() < command.minimumArguments)
        return usageError(
            err,
            QStringLiteral("missing %1")
                .arg(QLatin1String(command
                                       .arguments[std::min(std::size_t(positional.size()),
                                                           command.arguments.size() - 1)]
                                       .name)),
            name);
    if (command.maximumArguments >= 0 && positional.size() > command.maximumArguments)
        return usageError(
            err,
            QStringLiteral("unexpected argument '%1'").arg(positional.at(command.maximumArguments)),
            name);
    if (command.output != OutputUse::None) {
        // Nothing is taken silently: one output, named, and --force only for it.
        if (command.output == OutputUse::Required && !parser.isSet(QStringLiteral("output")))
            return usageError(err, QStringLiteral("-o FILE is needed"), name);
        if (parser.values(QStringLiteral("output")).size() > 1)
            return usageError(err, QStringLiteral("-o is given more than once"), name);
        if (parser.isSet(QStringLiteral("output")) &&
            parser.value(QStringLiteral("output")).isEmpty())
            return usageError(err, QStringLiteral("-o needs a file name"), name);
        if (parser.isSet(QStringLiteral("force")) && !parser.isSet(QStringLiteral("output")))
            return usageError(err, QStringLiteral("--force goes with -o"), name);
    }
    for (const QCommandLineOption &option : command.options) {
        if (!option.valueName().isEmpty() && parser.values(option).size() > 1)
            return usageError(
                err, QStringLiteral("--%1 is given more than once").arg(option.names().last()),
                name);
    }
    // Everything after "--" is an argument: how many, for a command whose arguments
    // are of two kinds.
    const qsizetype dashes = arguments.indexOf(QStringLiteral("--"));
    const qsizetype afterDashes = dashes < 0 ? 0 : arguments.size() - dashes - 1;
    Invocation call(name, parser, streams, command.output, afterDashes);
    return command.run(call);
}

int dispatch(const QStringList &arguments, CommandStreams &streams)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows, checks, compares and changes the 228-byte camera files (*.cam)\n"
                       "of the Kestrel editor, turns them into JSON text and back, and draws\n"
                       "pictures of their cameras."));
    const QCommandLineOption help = helpOption();
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays version information."));
    parser.addOption(help);
    parser.addOption(version);
    QStringList names;
    for (const Command &command : commands())
        names << QLatin1String(command.name);
    parser.addPositionalArgument(QStringLiteral("COMMAND"),
                                 names.join(QStringLiteral(", ")) + QLatin1Char('.'));
    // Everything from the command on belongs to the command's own parser.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);

    QTextStream &err = streams.err();
    if (!parser.parse(QStringList(ProgramName) + arguments))
        return usageError(err, parser.errorText(), ProgramName);
    if (parser.isSet(help)) {
        streams.out() << programHelp(parser);
        return ExitSuccess;
    }
    if (parser.isSet(version)) {
        streams.out() << ProgramName << ' ' << KESTREL_VERSION << '\n';
        return ExitSuccess;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageError(err, QStringLiteral("missing command"), ProgramName);
    for (const Command &command : commands()) {
        if (positional[0] == QLatin1String(command.name))
            return runCommand(command, positional.mid(1), streams);
    }
    return usageError(err, QStringLiteral("unknown command '%1'").arg(positional[0]), ProgramName);
}

} // namespace

int runKestrelCam(const QStringList &arguments, QIODevice &in, QIODevice &out, QTextStream &err)
{
    CommandStreams streams(in, out, err);
    int code = dispatch(arguments, streams);
    // A result that did not reach standard output (a full disk, a closed pipe) is a failure.
    QString why;
    if (!streams.flush(&why)) {
        report(err, QStringLiteral("standard output: ") + why);
        code = ExitUsage;
    }
    return code;
}

int runKestrelCam(const QStringList &arguments, QIODevice &out, QTextStream &err)
{
    // Standard input by its descriptor, read unbuffered: through the C library's stream,
    // the end of a pipe reads as an error on Windows.
    QFile in;
    if (!in.open(0, QIODevice::ReadOnly))
        in.setFileName(QString());
    return runKestrelCam(arguments, in, out, err);
}

} // namespace kestrelcam
