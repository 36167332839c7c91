#pragma once
// A small floating window for one command: Enter sends it as if typed in the
// input line and hides the window; F-keys work as in the input line.

#include <QDialog>
#include <QPointer>

#include "input/press_modifiers.h"

class Macro;
class PlayerInput;
class QPlainTextEdit;

class TCommandForm : public QDialog {
    Q_OBJECT
public:
    TCommandForm(PlayerInput& input, Macro& macros, QWidget* parent = nullptr);

    // The control that takes the keyboard once a command has been sent.
    void SetDetailGrid(QWidget* grid);
    // Shows the window (centred the first time) with the focus in the memo.
    void Open();

    // A key released in InputMemo, after the memo has applied it.
    void InputMemoKeyUp(int key, Qt::KeyboardModifiers shift);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PlayerInput& input;
    Macro& macros;
    QPlainTextEdit* inputMemo;
    QPointer<QWidget> detailGrid;
    PressModifiers pressModifiers;
    bool placed = false;
};
