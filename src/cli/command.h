#pragma once

#include "commandio.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <vector>

// How a command of kestrel-cam describes itself to the parser and the help, and what
// it is given when it runs. Each group of commands (inspect, convert, edit, render)
// lists its commands beside their code.
namespace kestrelcam {

class Invocation;

// How a command takes -o OUT and --force.
enum class OutputUse
{
    None,     // results go to standard output
    Optional, // -o OUT, else standard output or the input in place
    Required  // -o FILE is needed
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
    OutputUse output;
    const char *outputHelp;                  // what -o does, for the help
    std::vector<QCommandLineOption> options; // beyond -h, -o and --force
    int (*run)(Invocation &);
};

// A command's parsed command line and its streams.
class Invocation
{
public:
    Invocation(const QString &name, const QCommandLineParser &parser, CommandStreams &streams,
               OutputUse output, qsizetype argumentsAfterDashes)
        : m_name(name), m_parser(parser), m_streams(streams), m_output(output),
          m_afterDashes(argumentsAfterDashes)
    {
    }

    QStringList arguments() const { return m_parser.positionalArguments(); }
    // How many of the arguments came after "--".
    qsizetype argumentsAfterDashes() const { return m_afterDashes; }
    bool isSet(const QString &option) const { return m_parser.isSet(option); }
    QString value(const QString &option) const { return m_parser.value(option); }

    CommandStreams &streams() { return m_streams; }
    QTextStream &out() { return m_streams.out(); }
    QTextStream &err() { return m_streams.err(); }

    // Wrong usage of this command: one line pointing at its help, ExitUsage.
    int usageError(const QString &why) { return kestrelcam::usageError(err(), why, m_name); }

    // -o, once and named (the parser has checked that).
    bool hasOutput() const
    {
        return m_output != OutputUse::None && m_parser.isSet(QStringLiteral("output"));
    }
    QString output() const
    {
        return hasOutput() ? m_parser.value(QStringLiteral("output")) : QString();
    }
    bool force() const { return hasOutput() && m_parser.isSet(QStringLiteral("force")); }

    // Writes a result to -o: atomically, over an existing file only with --force; "-"
    // is standard output.
    int writeToOutput(const QByteArray &bytes)
    {
        return writeOutput(output(), bytes, force(), m_streams);
    }

private:
    QString m_name; // "kestrel-cam set"
    const QCommandLineParser &m_parser;
    CommandStreams &m_streams;
    OutputUse m_output;
    qsizetype m_afterDashes;
};

// The commands, by group, in the order the help lists them.
std::vector<Command> inspectCommands(); // show, check, diff
std::vector<Command> convertCommands(); // export, import, new
std::vector<Command> editCommands();    // set, copy
std::vector<Command> renderCommands();  // render

} // namespace kestrelcam
