#include "widgets/text_finder.h"

#include <algorithm>
#include <limits>

#include <QStringMatcher>

std::optional<TextMatch> TextFinder::Find(
    const QString& needle, std::optional<TextMatch> from, bool backward, Qt::CaseSensitivity cs) const
{
    if (needle.isEmpty() || lineCount <= 0)
        return std::nullopt;
    if (!backward) {
        const int line = from ? from->line : 0;
        const int column = from ? from->column + 1 : 0;
        return Forward(needle, line, column, cs);
    }
    const int line = from ? from->line : lineCount - 1;
    const int limit = from ? from->column - 1 : std::numeric_limits<int>::max();
    return Backward(needle, line, limit, cs);
}

std::optional<TextMatch> TextFinder::Forward(
    const QString& needle, int startLine, int startColumn, Qt::CaseSensitivity cs) const
{
    startLine = std::clamp(startLine, 0, lineCount - 1);
    // The needle's skip table is built once for the whole pass.
    const QStringMatcher matcher(needle, cs);
    // One pass over every line, the start line twice: from its column, and at
    // the end of the wrap from its beginning.
    for (int step = 0; step <= lineCount; ++step) {
        const int line = (startLine + step) % lineCount;
        const int column = step == 0 ? startColumn : 0;
        const QString text = lineAt(line);
        if (column > text.size() - needle.size())
            continue;
        const int at = int(matcher.indexIn(text, column));
        if (at >= 0 && (step < lineCount || at < startColumn))
            return TextMatch{line, int(at), int(needle.size())};
    }
    return std::nullopt;
}

std::optional<TextMatch> TextFinder::Backward(
    const QString& needle, int startLine, int limit, Qt::CaseSensitivity cs) const
{
    startLine = std::clamp(startLine, 0, lineCount - 1);
    // `limit` is the last column a match may start at on the start line; the
    // wrap ends on that line again, where only matches after it are new.
    for (int step = 0; step <= lineCount; ++step) {
        const int line = ((startLine - step) % lineCount + lineCount) % lineCount;
        const QString text = lineAt(line);
        int from = int(text.size() - needle.size());
        if (step == 0)
            from = std::min(from, limit);
        if (from < 0)
            continue;
        const int at = int(text.lastIndexOf(needle, from, cs));
        if (at >= 0 && (step < lineCount || at > limit))
            return TextMatch{line, at, int(needle.size())};
    }
    return std::nullopt;
}

int TextFinder::CountMatches(const QString& needle, Qt::CaseSensitivity cs) const
{
    if (needle.isEmpty())
        return 0;
    const QStringMatcher matcher(needle, cs);
    int count = 0;
    // Overlapping matches count, as Find steps onto each of them.
    for (int line = 0; line < lineCount; ++line) {
        const QString text = lineAt(line);
        for (qsizetype at = matcher.indexIn(text); at >= 0; at = matcher.indexIn(text, at + 1))
            ++count;
    }
    return count;
}

QList<TextMatch> TextFinder::MatchesInLine(const QString& text, int line, const QString& needle, Qt::CaseSensitivity cs)
{
    QList<TextMatch> matches;
    if (needle.isEmpty())
        return matches;
    for (qsizetype at = text.indexOf(needle, 0, cs); at >= 0; at = text.indexOf(needle, at + needle.size(), cs))
        matches.append(TextMatch{line, int(at), int(needle.size())});
    return matches;
}
