#pragma once
// Answers each message box that opens (modally) while it lives with one
// button, keeping the text and buttons it was shown with.

#include <QMessageBox>
#include <QStringList>
#include <QTimer>

class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer);

    QStringList questions;
    QMessageBox::StandardButtons buttons;

private:
    QMessageBox::StandardButton answer;
    QTimer timer;
};
