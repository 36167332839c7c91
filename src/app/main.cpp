#include <exception>

#include <QMessageBox>

#include "app/application.h"
#include "app/mainform.h"

int main(int argc, char** argv)
{
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
