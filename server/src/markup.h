#pragma once
// The writing rules of the game stream's element lines (which elements
// exist is elements.h's business). The client reads them with
// a line-oriented scanner, so every element is written on one line, with
// attribute values in apostrophes, separated by exactly one blank, and with
// the characters the scanner treats specially written as entities.

#include <QString>
#include <QStringList>

namespace markup {

// Escapes & ' < > for attribute values and element text.
QString escape(const QString& text);
// The reverse, for a reader who sees the text itself.
QString unescape(const QString& text);

class Element {
public:
    explicit Element(QString name);

    Element& attr(const QString& name, const QString& value);
    Element& attr(const QString& name, qint64 value);

    // <name a='v'/>
    QString empty() const;
    // <name a='v'>
    QString open() const;
    // </name>
    QString close() const;
    // <name a='v'>text</name>
    QString withText(const QString& text) const;

private:
    QString head() const;

    QString name_;
    QString attributes_;
};

} // namespace markup
