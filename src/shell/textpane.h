#pragma once
// A read-only text pane that counts its lines and trims them in batches.

#include <QPlainTextEdit>

class TextPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextPane(const QString& name, QWidget* parent = nullptr);

    // Appends one line; text holding line feeds becomes several lines.
    void AppendLine(const QString& text);
    // Drops the oldest lines down to `limit` once more than limit + 100 are held.
    void TrimTo(int limit);
    void ClearLines();
    // Replaces the whole text (the scrollback dump).
    void ReplaceText(const QString& text);
    int LineCount() const { return lines; }
    QString LineAt(int index) const;
    QStringList Lines() const;

private:
    int lines = 0;
};
