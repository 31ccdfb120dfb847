// kestrel: the camera file editor, optionally opening the file it is handed.

#include "frmcarcamera.h"
#include "programentry.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTextStream>

#include <cstdio>

namespace {

const QString ProgramName = QStringLiteral("kestrel");
constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

// The options every Qt program takes (-style NAME, -platform NAME, -reverse, ...).
// They are read by QApplication; here they are only let through, unlisted in the help.
const char *const ToolkitOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
    "style",       "stylesheet",         "qmljsdebugger"};
const char *const ToolkitFlags[] = {"reverse", "widgetcount"};

// What the command line asks for: a window, with a file to open or none, or an exit
// status once the help, the version or a usage error has been told.
struct Request
{
    int exitStatus = -1; // -1: start the editor
    QString file;
    QString text;         // the help, the version or the usage error
    bool isError = false; // text is a usage error, for standard error
};

int print(FILE *stream, const QString &text)
{
    QTextStream out(stream);
    out << text;
    out.flush();
    if (out.status() == QTextStream::Ok)
        return ExitSuccess;
    if (stream == stdout)
        std::fputs("kestrel: cannot write to standard output\n", stderr);
    return ExitFailure;
}

void usageError(Request &request, QString why)
{
    if (why.endsWith(QLatin1Char('.')))
        why.chop(1);
    request.text = QStringLiteral("%1: %2; see '%1 --help'\n").arg(ProgramName, why);
    request.isError = true;
    request.exitStatus = ExitUsage;
}

// Tells the help, the version or a usage error where the user will read it, and
// returns the program's exit status.
int tell(const Request &request, int argc, char *argv[])
{
    FILE *stream = request.isError ? stderr : stdout;
    if (!reachConsole(stream)) {
        QApplication app(argc, argv);
        QMessageBox box(request.isError ? QMessageBox::Warning : QMessageBox::Information,
                        QStringLiteral("Kestrel"), request.text.trimmed());
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return request.exitStatus;
    }
    const int printed = print(stream, request.text);
    return request.isError ? request.exitStatus : printed;
}

// Reads the arguments without the window system, so that --help, --version and wrong
// usage work with no display at all.
Request readCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Single-dash words are options of their own, as Qt's toolkit options are written.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Edits the 228-byte camera files (*.cam) of a racing simulator's cars.\n"
                       "Starts on the built-in Brabham cameras; a FILE given is then opened as\n"
                       "the \"Load Car Camera File\" button opens the file chosen in its dialog."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays version information."));
    parser.addOption(help);
    parser.addOption(version);
    for (const char *name : ToolkitOptionsWithValue) {
        QCommandLineOption option(QLatin1String(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : ToolkitFlags) {
        QCommandLineOption option{QLatin1String(name)};
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The camera file to open."),
                                 QStringLiteral("[FILE]"));

    Request request;
    if (!parser.parse(arguments)) {
        usageError(request, parser.errorText());
        return request;
    }
    if (parser.isSet(help)) {
        // Qt names the running executable in its usage line; the program's name instead.
        const QString text = parser.helpText();
        request.exitStatus = ExitSuccess;
        request.text =
            QStringLiteral("Usage: %1 [options] [FILE]").arg(ProgramName) +
            text.mid(text.indexOf(QLatin1Char('\n'))) +
            QStringLiteral(
                "\nExit status:\n"
                "  0  the window was closed, or the help or the version was printed\n"
                "  2  wrong usage: an unknown option, a missing value, more than one FILE\n");
        return request;
    }
    if (parser.isSet(version)) {
        request.exitStatus = ExitSuccess;
        request.text = QStringLiteral("%1 %2\n").arg(ProgramName, QStringLiteral(KESTREL_VERSION));
        return request;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        usageError(request, QStringLiteral("unexpected argument '%1'").arg(files[1]));
    else if (files.size() == 1 && files[0].isEmpty())
        usageError(request, QStringLiteral("the file name is empty"));
    else if (files.size() == 1)
        request.file = files[0];
    return request;
}

} // namespace

int main(int argc, char *argv[])
{
    const QStringList arguments = programArguments(argc, argv);
    const Request request = readCommandLine(arguments);
    if (request.exitStatus >= 0)
        return tell(request, argc, argv);

    // The toolkit reads its options only before "--": a file named after it, such as
    // "-reverse", is a file.
    int toolkitArgc = int(arguments.indexOf(QStringLiteral("--"), 1));
    if (toolkitArgc < 0)
        toolkitArgc = argc;
    QApplication app(toolkitArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    // Docks and Wayland compositors find the window's name and icon by its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.kestreleditor.kestrel"));
    frmCarCamera window;
    window.show();
    if (!request.file.isEmpty())
        window.openCameraFile(request.file);
    return app.exec();
}
