#include "widgets/links.h"

#include <QRegularExpression>

namespace {

// Cheap test first: most lines hold no address at all.
bool MayHoldLink(const QString& text)
{
    return text.contains(QLatin1String("://")) || text.contains(QLatin1String("www."), Qt::CaseInsensitive);
}

int TrimmedLength(const QString& candidate)
{
    int length = int(candidate.size());
    while (length > 0) {
        const QChar last = candidate.at(length - 1);
        if (QStringLiteral(".,;:!?'\"").contains(last)) {
            --length;
            continue;
        }
        if (last == QLatin1Char(')') || last == QLatin1Char(']')) {
            const QChar open = last == QLatin1Char(')') ? QLatin1Char('(') : QLatin1Char('[');
            const QStringView head = QStringView(candidate).left(length);
            if (head.count(open) < head.count(last)) {
                --length;
                continue;
            }
        }
        break;
    }
    return length;
}

bool HostIsPlausible(const QUrl& url)
{
    const QString host = url.host();
    if (host.isEmpty() || host.startsWith(QLatin1Char('.')) || host.endsWith(QLatin1Char('.')))
        return false;
    return host.contains(QLatin1Char('.')) || host == QLatin1String("localhost");
}

} // namespace

QList<LinkSpan> FindLinks(const QString& text)
{
    QList<LinkSpan> links;
    if (!MayHoldLink(text))
        return links;
    static const QRegularExpression address(
        QStringLiteral(R"((?<![\w@./-])(?:https?://|www\.)[^\s<>"]+)"), QRegularExpression::CaseInsensitiveOption);
    for (auto it = address.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const int length = TrimmedLength(m.captured());
        const QString candidate = m.captured().left(length);
        const bool web = candidate.startsWith(QLatin1String("www."), Qt::CaseInsensitive);
        const QUrl url(web ? QStringLiteral("https://") + candidate : candidate, QUrl::StrictMode);
        if (url.isValid() && HostIsPlausible(url))
            links.append(LinkSpan{int(m.capturedStart()), length, url});
    }
    return links;
}
