#pragma once
// Up and Down in the input line recall earlier commands: Up on the line's
// first row, Down on its last. Inside a text of several rows the arrows
// move the caret as in any edit box.

#include <QObject>

class CommandHistory;
class QPlainTextEdit;

class HistoryKeys : public QObject {
    Q_OBJECT
public:
    // Watches the edit's keys for as long as both live.
    HistoryKeys(QPlainTextEdit& edit, CommandHistory& history);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the key recalled a line; otherwise the edit has the key.
    bool Recall(bool up);

    QPlainTextEdit& edit;
    CommandHistory& history;
};
