#pragma once
// The about box: name, version and a picture.

#include <QDialog>

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    TAboutForm(const QString& version, QWidget* parent = nullptr);
};
