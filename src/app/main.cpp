#include <cstdio>
#include <exception>

#include <QDir>
#include <QMessageBox>

#include "app/application.h"
#include "app/commandline.h"
#include "app/mainform.h"

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = ParseCommandLine(arguments, QStringLiteral(ORVIX_VERSION));
    if (!line.run) {
        std::fprintf(line.exitCode == 0 ? stdout : stderr, "%s", qPrintable(line.text));
        return line.exitCode;
    }
    // The settings, maps and logs are read from and written to the current directory.
    if (!line.workDir.isEmpty() && (!QDir().mkpath(line.workDir) || !QDir::setCurrent(line.workDir))) {
        std::fprintf(stderr, "orvix: cannot use %s as the working directory\n", qPrintable(line.workDir));
        return 1;
    }

    OrvixApplication app(argc, argv);
    try {
        TMainForm mainForm;
        app.SetErrorDisplay([&mainForm](const QString& message) { mainForm.ShowGeneralError(message); });
        mainForm.show();
        const int rc = app.exec();
        app.SetErrorDisplay({});
        return rc;
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, "Orvix", QString::fromLocal8Bit(e.what()), QMessageBox::Ok);
        return 1;
    }
}
