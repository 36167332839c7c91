#pragma once
// A read-only pane of text lines. Appending and trimming are the hot path of
// the whole program, so the pane keeps plain lines and lays out only the
// ones on screen; it wraps long lines, scrolls by lines with the pane full,
// follows the newest line while the player has not scrolled back, and
// supports selecting (mouse and keyboard) and copying text.

#include <deque>
#include <vector>

#include <QAbstractScrollArea>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "widgets/find_bar.h"

class QMenu;
class QTextLayout;
class QTimer;

class TextPane : public QAbstractScrollArea, public FindTarget {
    Q_OBJECT
public:
    explicit TextPane(const QString& name, QWidget* parent = nullptr);
    ~TextPane() override;

    // Appends one line; text holding line feeds becomes several lines.
    // Longer lines are cut here: no game line comes near it, and a hostile
    // server's endless line must not cost a pane hundreds of megabytes.
    static constexpr int kMaxLineLength = 16384;
    void AppendLine(const QString& text);
    // Appends one entry that keeps its line feeds: it is shown over several
    // rows but counts, trims and selects as one line (raw stream echoes).
    void AppendEntry(const QString& text);
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
    // The pane's context menu: Copy and Select All. The caller owns it.
    QMenu* CreateContextMenu();

    // A place in the text; the selection runs between two of them.
    struct Pos {
        int line = 0;
        int column = 0;
        auto operator<=>(const Pos&) const = default;
    };
    Pos SelectionAnchor() const { return anchor; }
    Pos SelectionCursor() const { return cursor; }
    // Selects from `from` to `to` and scrolls `to` into view.
    void Select(Pos from, Pos to);
    // Screen readers address the text by character offsets, each line
    // followed by one line feed.
    qint64 TextLength() const;
    // The offset of the line's first character; TextLength() past the end.
    qint64 LineStart(int line) const;
    int LineAtOffset(qint64 offset) const;
    // Where a character is drawn, in viewport coordinates; empty when its
    // line is not on screen.
    QRect CharacterRect(Pos at) const;
    Pos PositionAt(const QPoint& viewportPoint) const { return HitTest(viewportPoint); }

    // Finding: the find bar's view of this pane.
    int FindLineCount() const override { return LineCount(); }
    QString FindLineAt(int line) const override { return LineAt(line); }
    void ShowFindMatch(const TextMatch& match) override;
    void SetFindHighlight(const QString& needle, Qt::CaseSensitivity cs) override;

signals:
    // Ctrl+click on a web address in the text.
    void LinkActivated(const QUrl& url);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;

private:
    // The web address at a point of the viewport, if any.
    QUrl LinkAt(const QPoint& point) const;
    struct Placed {
        int line;
        int y;
        int height;
    };

    void UpdateScrollBar();
    void ApplyScrollBar();
    int LayoutWidth() const;
    void LayoutLine(QTextLayout& layout, int line) const;
    int LineHeight(int line) const;
    Pos HitTest(const QPoint& point) const;
    void ShiftPositions(int removed);
    void PushLine(QString text);
    // Tells a screen reader of the lines appended from `firstNew` on.
    void AnnounceAppended(int firstNew);
    struct BottomPlacement {
        quint64 generation = ~quint64(0);
        QSize size;
        int first = 0;
        int y = 0;
        int pageTop = 0;
    };
    BottomPlacement Bottom() const;
    Pos TextEnd() const;
    bool MoveSelectionEnd(QKeyEvent* event);
    void EnsureVisible(int line);
    void DragScroll();

    std::deque<QString> lines;
    // Each line's character offset, counted from the first line ever held,
    // so trimming the oldest lines moves no other entry.
    std::deque<qint64> starts;
    // Each line's laid-out height at heightsWidth, 0 until measured: laying a
    // line out is the dear part of following the newest line, and a line's
    // height changes only with the width or the font.
    mutable std::deque<int> heights;
    mutable int heightsWidth = -1;
    bool announce = false; // new lines are spoken by a screen reader
    QString findNeedle; // every match drawn highlighted
    Qt::CaseSensitivity findCase = Qt::CaseInsensitive;
    bool follow = true; // stick to the newest line
    bool settingScroll = false;
    bool scrollBarPending = false;
    Pos anchor, cursor; // selection, anchor == cursor when none
    bool selecting = false;
    QPoint dragPoint; // where the mouse is while selecting
    QTimer* dragTimer = nullptr; // scrolls while a drag is past an edge
    std::vector<Placed> placed; // lines placed by the last paint
    quint64 generation = 0; // counts changes to the lines and their font
    mutable BottomPlacement bottom;
};
