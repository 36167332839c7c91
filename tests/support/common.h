#pragma once
// Small helpers every suite shares: files, controls found by name, list
// contents, and a markup reader that records what it saw.

#include <string>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QListWidget>
#include <QObject>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "markup/xml.h"

// The whole file; empty (and a test failure) when it cannot be read.
inline QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return f.readAll();
}

// Replaces the file's contents (creating it).
inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

// The child with this object name; a test failure when there is none.
template <class T>
T* Control(const QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        ADD_FAILURE() << "no control named " << name;
    return found;
}

inline QStringList ListItems(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; list && i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Writes each markup event as one short text: "S:name[a=1|b=2]", "C:text", "E:name".
class MarkupRecorder : public XMLParser {
public:
    explicit MarkupRecorder(std::string fileName = {})
        : XMLParser(std::move(fileName))
    {
    }

    std::vector<std::string> events;

protected:
    void StartElement(const std::string& name, const AttribList& attributes) override
    {
        std::string e = "S:" + name + "[";
        for (std::size_t i = 0; i < attributes.size(); ++i) {
            if (i)
                e += '|';
            e += attributes[i].name + "=" + attributes[i].value;
        }
        events.push_back(e + "]");
    }
    void EndElement(const std::string& name) override { events.push_back("E:" + name); }
    void Characters(const std::string& text) override { events.push_back("C:" + text); }
};
