// orvix's command line: each row is the arguments and what the program does
// with them: runs (in which working directory) or exits (status, text).
#include <gtest/gtest.h>

#include "app/commandline.h"

namespace {

struct Row {
    QStringList args;
    QString outcome; // "run DIR" or "exit STATUS: the start of the text"
};

QString outcomeOf(const QStringList& args)
{
    const CommandLine line = ParseCommandLine(QStringList{"orvix"} + args, "1.60");
    if (line.run)
        return "run " + line.workDir;
    return QString("exit %1: %2").arg(line.exitCode).arg(line.text);
}

TEST(CommandLine, ArgumentsAreTakenOrRefusedAndTheHelpNamesEachButQtsOwn)
{
    const Row rows[] = {
        {{}, "run "},
        {{"--workdir", "/tmp/w"}, "run /tmp/w"},
        {{"-w", "rel/dir"}, "run rel/dir"},
        {{"--workdir=/tmp/eq"}, "run /tmp/eq"},
        {{"-platform", "offscreen", "-style", "fusion", "-reverse"}, "run "},
        {{"--version"}, "exit 0: orvix 1.60\n"},
        {{"-v"}, "exit 0: orvix 1.60\n"},
        {{"--help"}, "exit 0: Usage: orvix [options]"},
        {{"-h", "--frobnicate"}, "exit 2: orvix: Unknown option 'frobnicate'."},
        {{"--frobnicate"}, "exit 2: orvix: Unknown option 'frobnicate'.\nTry 'orvix --help'"},
        {{"--workdir"}, "exit 2: orvix: Missing value after '--workdir'."},
        {{"--workdir="}, "exit 2: orvix: --workdir needs a directory"},
        {{"extra"}, "exit 2: orvix: unexpected argument: extra"},
    };
    for (const Row& row : rows) {
        const QString got = outcomeOf(row.args);
        const bool matches = row.outcome.startsWith("run ") ? got == row.outcome : got.startsWith(row.outcome);
        EXPECT_TRUE(matches) << row.args.join(' ').toStdString() << " -> " << got.toStdString();
    }
    // The help names every option but Qt's own.
    const QString help = outcomeOf({"--help"});
    for (const char* shown : {"-h, --help", "-v, --version", "-w, --workdir <DIR>"})
        EXPECT_TRUE(help.contains(shown)) << shown;
    EXPECT_FALSE(help.contains("--platform")) << help.toStdString();
}

} // namespace
