#pragma once
// Finding text in a pane's lines: the next or previous match from a place,
// wrapping round the ends, and the count of all matches. Knows nothing of
// widgets, so it is tested on plain lines.

#include <functional>
#include <optional>

#include <QList>
#include <QString>

struct TextMatch {
    int line = 0;
    int column = 0;
    int length = 0;
    bool operator==(const TextMatch&) const = default;
};

class TextFinder {
public:
    using LineAt = std::function<QString(int)>;

    TextFinder(LineAt lineAt, int lineCount)
        : lineAt(std::move(lineAt))
        , lineCount(lineCount)
    {
    }

    // The first match after `from` (or before it, searching backward); with no
    // `from`, the first match from the top (or the last one from the bottom).
    // Wraps round once; nothing for an empty needle or no match.
    std::optional<TextMatch> Find(const QString& needle, std::optional<TextMatch> from, bool backward,
        Qt::CaseSensitivity cs = Qt::CaseInsensitive) const;

    int CountMatches(const QString& needle, Qt::CaseSensitivity cs = Qt::CaseInsensitive) const;

    // Every match within one line, for highlighting what is on screen.
    static QList<TextMatch> MatchesInLine(
        const QString& text, int line, const QString& needle, Qt::CaseSensitivity cs = Qt::CaseInsensitive);

private:
    std::optional<TextMatch> Forward(const QString& needle, int line, int column, Qt::CaseSensitivity cs) const;
    std::optional<TextMatch> Backward(const QString& needle, int line, int limit, Qt::CaseSensitivity cs) const;

    LineAt lineAt;
    int lineCount;
};
