#pragma once
// The main window's command line: a multi-line edit whose key releases
// submit the command, put the selected player's name in, and run or fetch
// the F-key macros.

#include <functional>

#include <QPlainTextEdit>
#include <QPointer>

#include "input/press_modifiers.h"

class Macro;
class PlayerInput;
class QListWidget;

class InputEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit InputEdit(QWidget* parent = nullptr);

    // The session objects, once the main window has created them; keys do
    // nothing before.
    void Attach(PlayerInput& input, Macro& macros, QListWidget& playerListBox);
    // Told true when the line gains the focus and false when it loses it
    // (the "Paste" menu item follows it).
    void SetPasteEnabler(std::function<void(bool)> enable);

    // A key released, after the edit has applied it, with the modifiers
    // held when it was pressed.
    void InputEditKeyUp(int key, Qt::KeyboardModifiers shift);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void InputEditEnter();
    void InputEditExit();
    QString SelectedPlayer() const;
    void SetTextAtEnd(const QString& text);

    PlayerInput* input = nullptr;
    Macro* macros = nullptr;
    QPointer<QListWidget> playerListBox;
    std::function<void(bool)> enablePaste;
    bool enterPressed = false; // an Enter press reached this edit
    PressModifiers pressModifiers;
};
