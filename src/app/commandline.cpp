#include "app/commandline.h"

#include <QCommandLineParser>

namespace {

// Options the application object takes for itself; they pass through here.
const char* const qtValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
    "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display", "geometry", "style", "stylesheet"};
const char* const qtFlagOptions[] = {"reverse", "widgetcount"};

void addHidden(QCommandLineParser& p, const QString& name, const QString& valueName)
{
    QCommandLineOption option(name, QString(), valueName);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    p.addOption(option);
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments, const QString& version)
{
    QCommandLineParser p;
    // Qt's own options are written with one dash (-style fusion).
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    p.setApplicationDescription(
        QStringLiteral("Orvix: a desktop client for Kyrn, the text-based space-trading game.\n"
                       "It keeps init.xml, maps/ and logs/ in its working directory.\n"
                       "Qt's standard options (-platform, -style, -reverse, ...) are also taken."));
    const QCommandLineOption help(QStringList{"h", "help"}, QStringLiteral("Show this help and exit."));
    const QCommandLineOption showVersion(QStringList{"v", "version"}, QStringLiteral("Show the version and exit."));
    const QCommandLineOption workDir(QStringList{"w", "workdir"},
        QStringLiteral("Use DIR as the working directory, made if missing (default: the current one)."),
        QStringLiteral("DIR"));
    p.addOptions({help, showVersion, workDir});
    for (const char* name : qtValueOptions)
        addHidden(p, QLatin1String(name), QStringLiteral("value"));
    for (const char* name : qtFlagOptions)
        addHidden(p, QLatin1String(name), QString());

    const QString usage = QStringLiteral("\nTry 'orvix --help' for more information.\n");
    CommandLine result;
    if (!p.parse(arguments)) {
        result.exitCode = 2;
        result.text = QStringLiteral("orvix: ") + p.errorText() + usage;
    } else if (p.isSet(help)) {
        // The parser names the program after argv[0], or with a placeholder when
        // no application object exists yet: the help names it as its users do.
        const QString text = p.helpText();
        result.text = QStringLiteral("Usage: orvix") + text.mid(text.indexOf(QLatin1String(" [options]")));
    } else if (p.isSet(showVersion)) {
        result.text = QStringLiteral("orvix ") + version + QLatin1Char('\n');
    } else if (!p.positionalArguments().isEmpty()) {
        result.exitCode = 2;
        result.text = QStringLiteral("orvix: unexpected argument: ") + p.positionalArguments().first() + usage;
    } else if (p.isSet(workDir) && p.value(workDir).isEmpty()) {
        result.exitCode = 2;
        result.text = QStringLiteral("orvix: --workdir needs a directory") + usage;
    } else {
        result.run = true;
        result.workDir = p.value(workDir);
    }
    return result;
}
