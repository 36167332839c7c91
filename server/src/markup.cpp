#include "markup.h"

namespace markup {

QString escape(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '\'': out += QLatin1String("&apos;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '\n':
        case '\r': out += QLatin1Char(' '); break; // a value never spans lines
        default: out += c;
        }
    }
    return out;
}

QString unescape(const QString& text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString out = text;
    out.replace(QLatin1String("&lt;"), QLatin1String("<"));
    out.replace(QLatin1String("&gt;"), QLatin1String(">"));
    out.replace(QLatin1String("&apos;"), QLatin1String("'"));
    out.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return out;
}

Element::Element(QString name)
    : name_(std::move(name))
{
}

Element& Element::attr(const QString& name, const QString& value)
{
    attributes_ += QLatin1Char(' ') + name + QLatin1String("='") + escape(value) + QLatin1Char('\'');
    return *this;
}

Element& Element::attr(const QString& name, qint64 value)
{
    return attr(name, QString::number(value));
}

QString Element::head() const
{
    return QLatin1Char('<') + name_ + attributes_;
}

QString Element::empty() const
{
    return head() + QLatin1String("/>");
}

QString Element::open() const
{
    return head() + QLatin1Char('>');
}

QString Element::close() const
{
    return QLatin1String("</") + name_ + QLatin1Char('>');
}

QString Element::withText(const QString& text) const
{
    return open() + escape(text) + close();
}

} // namespace markup
