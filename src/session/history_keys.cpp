#include "session/history_keys.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "base/ansi.h"
#include "input/command_history.h"

HistoryKeys::HistoryKeys(QPlainTextEdit& e, CommandHistory& h)
    : QObject(&e)
    , edit(e)
    , history(h)
{
    edit.installEventFilter(this);
}

bool HistoryKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &edit || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // Shift, Ctrl and Alt with the arrows keep their editing meaning.
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down))
        return Recall(key->key() == Qt::Key_Up);
    return QObject::eventFilter(watched, event);
}

bool HistoryKeys::Recall(bool up)
{
    // The caret can move no further that way: it is on the first (or last) row.
    QTextCursor probe = edit.textCursor();
    if (probe.movePosition(up ? QTextCursor::Up : QTextCursor::Down))
        return false;
    const std::optional<std::string> line = up ? history.Previous(ToAnsi(edit.toPlainText())) : history.Next();
    if (!line)
        return false;
    edit.setPlainText(FromAnsi(*line));
    edit.moveCursor(QTextCursor::End);
    return true;
}
