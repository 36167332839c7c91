#include "shell/textpane.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

TextPane::TextPane(const QString& name, QWidget* parent)
    : QPlainTextEdit(parent)
{
    setObjectName(name);
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void TextPane::AppendLine(const QString& text)
{
    QScrollBar* bar = verticalScrollBar();
    const bool follow = bar->value() == bar->maximum();

    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (lines > 0)
        cursor.insertBlock();
    // A carriage return would open a block of its own: the pane shows lines, not CRs.
    QString clean = text;
    clean.remove(QLatin1Char('\r'));
    cursor.insertText(clean);
    lines += 1 + int(clean.count(QLatin1Char('\n')));

    if (follow)
        bar->setValue(bar->maximum());
}

void TextPane::TrimTo(int limit)
{
    if (lines <= limit + 100)
        return;
    const int drop = lines - limit;
    setUpdatesEnabled(false);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::Start);
    QTextBlock last = document()->findBlockByNumber(drop);
    if (last.isValid()) {
        cursor.setPosition(last.position(), QTextCursor::KeepAnchor);
    } else {
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    }
    cursor.removeSelectedText();
    lines -= drop;
    setUpdatesEnabled(true);
}

void TextPane::ClearLines()
{
    clear();
    lines = 0;
}

void TextPane::ReplaceText(const QString& text)
{
    QString clean = text;
    clean.remove(QLatin1Char('\r'));
    setPlainText(clean);
    lines = clean.isEmpty() ? 0 : document()->blockCount();
}

QString TextPane::LineAt(int index) const
{
    return document()->findBlockByNumber(index).text();
}

QStringList TextPane::Lines() const
{
    QStringList out;
    if (lines == 0)
        return out;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        out << b.text();
    return out;
}
