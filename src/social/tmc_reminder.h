#pragma once
// The daily voting reminder shown at start-up; same answers as the letter.

#include <QDialog>

class Tmc;

class TTmcReminderForm : public QDialog {
    Q_OBJECT
public:
    TTmcReminderForm(Tmc& tmc, QWidget* parent = nullptr);
};
