#include "plaintext.h"

#include "markup.h"

#include <QRegularExpression>

#include <optional>

namespace plaintext {

namespace {

    // One line as elements.h writes it: <name a='v'>, <name a='v'/>,
    // <name a='v'>text</name> or </name>.
    struct ElementLine {
        QString name;
        bool end = false;
        bool hasText = false;
        QString text;
        QString attrs;

        QString attr(const QString& key) const
        {
            static const QRegularExpression pair(QStringLiteral(" ([A-Za-z-]+)='([^']*)'"));
            for (auto it = pair.globalMatch(attrs); it.hasNext();) {
                const auto m = it.next();
                if (m.captured(1) == key)
                    return markup::unescape(m.captured(2));
            }
            return {};
        }
    };

    std::optional<ElementLine> parse(const QString& line)
    {
        static const QRegularExpression element(
            QStringLiteral("^<(/?)([A-Za-z-]+)((?: [A-Za-z-]+='[^']*')*)(/?)>(?:(.*)</\\2>)?$"));
        const auto m = element.match(line);
        if (!m.hasMatch())
            return std::nullopt;
        ElementLine e;
        e.end = !m.captured(1).isEmpty();
        e.name = m.captured(2);
        e.attrs = m.captured(3);
        e.hasText = m.capturedStart(5) >= 0;
        e.text = markup::unescape(m.captured(5));
        return e;
    }

} // namespace

QStringList fromElements(const QStringList& lines)
{
    QStringList out;
    for (const QString& line : lines) {
        if (!line.startsWith(QLatin1Char('<'))) {
            out << markup::unescape(line); // a line of a block's text
            continue;
        }
        const auto e = parse(line);
        if (!e)
            continue; // the XML declaration
        if (e->name == QLatin1String("s-new-loc") && !e->end) {
            out << e->attr(QStringLiteral("name")); // the description and the exits follow as text
        } else if (e->name == QLatin1String("s-tb") && e->hasText) {
            out << QStringLiteral("%1 beams, \"%2\"").arg(e->attr(QStringLiteral("name")), e->text);
        } else if (e->name.endsWith(QLatin1String("-start"))) {
            // The head of a spynet or examine report.
            out << QStringLiteral("%1, %2").arg(e->attr(QStringLiteral("name")), e->attr(QStringLiteral("rank")));
        } else if (e->hasText) {
            out << e->text;
        }
    }
    return out;
}

} // namespace plaintext
