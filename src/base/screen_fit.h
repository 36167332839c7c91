#pragma once
// Window geometry fitted to the screen before it reaches a widget. Sizes
// come from init.xml, which a hand edit or another machine may have left
// at any value; a window far larger than the screen breaks painting on some
// platforms, and one that does not fit cannot be used.

#include <cstdint>

#include <QPoint>
#include <QRect>
#include <QSize>

class ScreenFit {
public:
    // `available`: the screen's area for windows (without panels and docks).
    explicit ScreenFit(const QRect& available);

    // The window size to apply: the stored size, no smaller than `minimum`,
    // no larger than the screen (the screen wins over the minimum).
    QSize WindowSize(const QSize& stored, const QSize& minimum) const;
    // The top left corner that centres a window of this size on the screen,
    // inside it.
    QPoint CentredPosition(const QSize& size) const;
    // The input panel's height: at least one pixel, at most the screen's height.
    int PanelHeight(int stored) const;
    // A text height: at least 1, at most a quarter of the screen's height.
    int TextHeight(int64_t stored) const;

private:
    QRect available;
};

// The window size as init.xml holds it. It stays as stored until the player
// resizes the window, so a session on a smaller screen does not shrink it
// for the next one.
class StoredWindowSize {
public:
    explicit StoredWindowSize(const QSize& design)
        : stored(design)
    {
    }

    void Store(const QSize& size) { stored = size; }
    const QSize& Stored() const { return stored; }
    // The size the window was given for the stored one.
    void Applied(const QSize& size) { applied = size; }
    // What to write back for a window of this size.
    QSize ToWrite(const QSize& current) const { return current == applied ? stored : current; }

private:
    QSize stored;
    QSize applied;
};
