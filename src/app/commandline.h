#pragma once
// What orvix is asked to do by its command line. Read before the application
// object exists, so --help, --version and a wrong option need no display.

#include <QString>
#include <QStringList>

struct CommandLine {
    bool run = false; // start the window; otherwise exit with exitCode
    int exitCode = 0;
    QString text; // the help or version text for stdout, or the error for stderr
    QString workDir; // empty: the current directory
};

// `arguments` starts with the program's name, as argv does.
CommandLine ParseCommandLine(const QStringList& arguments, const QString& version);
