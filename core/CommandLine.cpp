#include "CommandLine.h"

#include <QCommandLineParser>

#include <cerrno>
#include <cstdlib>

#ifndef ZANFOR_VERSION
#  error "the build passes the project version as ZANFOR_VERSION"
#endif

namespace {

const QString programName = QStringLiteral("zanfor-layout");

// Options every Qt GUI program understands; QApplication takes them out of
// the arguments later. They are known here only so that they are not
// refused, and stay out of the help text, which is about this program.
void acceptQtOptions(QCommandLineParser &parser)
{
    const QString valueOptions[] = {
        QStringLiteral("platform"),    QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
        QStringLiteral("plugin"),      QStringLiteral("qmljsdebugger"),      QStringLiteral("qwindowgeometry"),
        QStringLiteral("qwindowicon"), QStringLiteral("qwindowtitle"),       QStringLiteral("session"),
        QStringLiteral("display"),     QStringLiteral("geometry"),           QStringLiteral("style"),
        QStringLiteral("stylesheet"),
    };
    const QString flags[] = {QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
                             QStringLiteral("dograb")};
    for (const QString &name : valueOptions) {
        QCommandLineOption option(name, QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const QString &name : flags) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

Failure usageError(const QString &what)
{
    return Failure{programName % QStringLiteral(": ") % what % QStringLiteral("\nTry '") % programName
                   % QStringLiteral(" --help' for more information.\n")};
}

bool writeWhole(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    return std::fflush(stream) == 0 && written;
}

} // namespace

QString applicationVersion()
{
    return QStringLiteral(ZANFOR_VERSION);
}

Result<CommandLine> parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Qt's options are single-dash words (-platform xcb); without this they
    // would be read as bundles of one-letter options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Zanfor描述排版器: lays out the HTML description of an online-shop item page "
                       "from ready-made sections."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the program's version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A layout file (.zlayout) to open at start."),
                                 QStringLiteral("[FILE]"));
    acceptQtOptions(parser);

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return usageError(QStringLiteral("only one layout file can be opened, but %1 were given.").arg(files.size()));

    CommandLine result;
    if (parser.isSet(help)) {
        // Without an application object Qt's usage line names no program.
        const QString text = parser.helpText();
        result.exitNow = true;
        result.output = QStringLiteral("Usage: ") % programName % QStringLiteral(" [options] [FILE]")
            % text.mid(text.indexOf(u'\n'));
    } else if (parser.isSet(version)) {
        result.exitNow = true;
        result.output = programName % u' ' % applicationVersion() % u'\n';
    } else if (!files.isEmpty()) {
        result.file = files.constFirst();
    }
    return result;
}

int finishCommandLine(const Result<CommandLine> &commandLine, std::FILE *out, std::FILE *err)
{
    if (!commandLine) {
        writeWhole(err, commandLine.error());
        return EXIT_FAILURE;
    }
    if (writeWhole(out, commandLine->output))
        return EXIT_SUCCESS;
    const QString reason = qt_error_string(errno);
    writeWhole(err, programName % QStringLiteral(": cannot write the output: ") % reason % u'\n');
    return EXIT_FAILURE;
}
