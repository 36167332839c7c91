#pragma once
// A read-only pane of text lines. Appending and trimming are the hot path of
// the whole program, so the pane keeps plain lines and lays out only the
// ones on screen; it wraps long lines, scrolls by lines, follows the newest
// line while the player has not scrolled back, and supports selecting and
// copying text.

#include <deque>
#include <vector>

#include <QAbstractScrollArea>
#include <QString>
#include <QStringList>

class QTextLayout;

class TextPane : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TextPane(const QString& name, QWidget* parent = nullptr);
    ~TextPane() override;

    // Appends one line; text holding line feeds becomes several lines.
    // Longer lines are cut here: no game line comes near it, and a hostile
    // server's endless line must not cost a pane hundreds of megabytes.
    static constexpr int kMaxLineLength = 16384;
    void AppendLine(const QString& text);
    // Drops the oldest lines down to `limit` once more than limit + 100 are held.
    void TrimTo(int limit);
    void ClearLines();
    // Replaces the whole text (the scrollback dump).
    void ReplaceText(const QString& text);
    int LineCount() const { return static_cast<int>(lines.size()); }
    QString LineAt(int index) const;
    QStringList Lines() const;
    QString toPlainText() const { return Lines().join(QLatin1Char('\n')); }
    void clear() { ClearLines(); }

    void ScrollToTop();
    void ScrollToBottom();
    // The first line fully or partly shown.
    int TopLine() const;

    bool HasSelection() const;
    QString SelectedText() const;
    void selectAll();
    void copy() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;

private:
    struct Pos {
        int line = 0;
        int column = 0;
        auto operator<=>(const Pos&) const = default;
    };
    struct Placed {
        int line;
        int y;
        int height;
    };

    void UpdateScrollBar();
    void ApplyScrollBar();
    void LayoutLine(QTextLayout& layout, int line) const;
    int LineHeight(int line) const;
    Pos HitTest(const QPoint& point) const;
    void ShiftPositions(int removed);

    std::deque<QString> lines;
    bool follow = true;      // stick to the newest line
    bool settingScroll = false;
    bool scrollBarPending = false;
    Pos anchor, cursor;      // selection, anchor == cursor when none
    bool selecting = false;
    std::vector<Placed> placed;  // lines placed by the last paint
};
