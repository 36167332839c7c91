#include "app/application.h"

#include <exception>

#include <QMessageBox>

OrvixApplication::OrvixApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // No display name: Qt would append it to every window title.
    setApplicationName("Orvix");
}

bool OrvixApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowError("An unexpected error occurred.");
    }
    return false;
}

void OrvixApplication::ShowError(const QString& message)
{
    if (errorDisplay) {
        errorDisplay(message);
        return;
    }
    QMessageBox::critical(activeWindow(), "Orvix", message, QMessageBox::Ok);
}
