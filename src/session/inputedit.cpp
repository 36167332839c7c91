#include "session/inputedit.h"

#include <QKeyEvent>
#include <QListWidget>

#include "macros/macro.h"
#include "base/ansi.h"
#include "input/input.h"

InputEdit::InputEdit(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setObjectName("InputEdit");
    // No command holds a tab: Tab moves on, as from any other field.
    setTabChangesFocus(true);
}

void InputEdit::Attach(PlayerInput& playerInput, Macro& macroStore, QListWidget& players)
{
    input = &playerInput;
    macros = &macroStore;
    playerListBox = &players;
}

void InputEdit::SetPasteEnabler(std::function<void(bool)> enable)
{
    enablePaste = std::move(enable);
}

namespace {
bool ByMenu(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason;
}
} // namespace

void InputEdit::keyPressEvent(QKeyEvent* event)
{
    if (IsEnterKey(event->key()))
        enterPressed = true;
    pressModifiers.Pressed(*event);
    QPlainTextEdit::keyPressEvent(event);
}

void InputEdit::keyReleaseEvent(QKeyEvent* event)
{
    QPlainTextEdit::keyReleaseEvent(event);
    // One key-up per press, as the player sees it: held keys repeat presses only.
    if (event->isAutoRepeat())
        return;
    // The release of an Enter pressed elsewhere (a dialog closed by the
    // press) is no command.
    if (IsEnterKey(event->key())) {
        if (!enterPressed)
            return;
        enterPressed = false;
    }
    InputEditKeyUp(event->key(), pressModifiers.Released(*event));
}

void InputEdit::focusInEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusInEvent(event);
    if (!ByMenu(event->reason()))
        InputEditEnter();
}

void InputEdit::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    // A menu opening takes the focus for a moment: "Paste" must stay usable in it.
    if (!ByMenu(event->reason())) {
        enterPressed = false;
        pressModifiers.Clear();
        InputEditExit();
    }
}

void InputEdit::InputEditEnter()
{
    if (enablePaste)
        enablePaste(true);
}

void InputEdit::InputEditExit()
{
    if (enablePaste)
        enablePaste(false);
}

void InputEdit::InputEditKeyUp(int key, Qt::KeyboardModifiers shift)
{
    if (!input || !macros)
        return;
    const bool ctrl = shift.testFlag(Qt::ControlModifier);
    if (IsEnterKey(key)) {
        input->Submit(ToAnsi(toPlainText()), true);
    } else if (key == Qt::Key_Space && ctrl) {
        const QString player = SelectedPlayer();
        if (player.isEmpty())
            return;
        if (shift.testFlag(Qt::ShiftModifier))
            SetTextAtEnd(toPlainText() + " " + player + " ");
        else
            SetTextAtEnd("Tell " + player + " ");
    } else if (const int n = FKeyNumber(key); n != 0) {
        if (ctrl)
            macros->Paste(n, *this);
        else
            macros->Send(n);
    }
}

QString InputEdit::SelectedPlayer() const
{
    if (!playerListBox)
        return {};
    const QList<QListWidgetItem*> selected = playerListBox->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void InputEdit::SetTextAtEnd(const QString& text)
{
    setPlainText(text);
    moveCursor(QTextCursor::End);
    setFocus(Qt::OtherFocusReason);
}
