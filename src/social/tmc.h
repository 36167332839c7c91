#pragma once
// The voting dialog of "TMC Voting": the staff's letter and three answers.
// Stays on top without blocking the game and closes after any answer.

#include <QDialog>

class QBoxLayout;
class Tmc;

class TTmcForm : public QDialog {
    Q_OBJECT
public:
    TTmcForm(Tmc& tmc, QWidget* parent = nullptr);
};

// Shared by both voting dialogs.
// Name, caption and size; on top, not modal, deleted when closed.
void SetUpVotingWindow(QDialog* dialog, const char* name, const char* caption, int width, int height);
// The aqua background of the letter and the reminder.
void MakeAqua(QWidget* widget);
// "Vote Now" (default), "Already Voted" and "Cancel", each closing `dialog`.
void AddVotingButtons(QDialog* dialog, QBoxLayout* layout, Tmc& tmc);
