#pragma once
// The application object: its general error display shows an exception
// escaping an event handler in a message box and lets the loop go on.

#include <functional>

#include <QApplication>

class OrvixApplication : public QApplication {
    Q_OBJECT
public:
    using ErrorDisplay = std::function<void(const QString&)>;

    OrvixApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    void SetErrorDisplay(ErrorDisplay display) { errorDisplay = std::move(display); }
    void ShowError(const QString& message);

private:
    ErrorDisplay errorDisplay;
};
