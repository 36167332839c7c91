#include "wire.h"

#include "base/ansi.h"

namespace wire {

namespace {

    void append(QByteArray& out, const QString& line)
    {
        const std::string bytes = ToAnsi(line);
        out.append(bytes.data(), qsizetype(bytes.size()));
        out.append('\n');
    }

} // namespace

QByteArray encode(const QString& line)
{
    QByteArray out;
    out.reserve(line.size() + 1);
    append(out, line);
    return out;
}

QByteArray encode(const QStringList& lines)
{
    qsizetype size = 0;
    for (const QString& l : lines)
        size += l.size() + 1;
    QByteArray out;
    out.reserve(size);
    for (const QString& l : lines)
        append(out, l);
    return out;
}

QString decodeLine(QByteArrayView line)
{
    QByteArray clean;
    clean.reserve(line.size());
    for (char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\t')
            clean += ' ';
        else if (u >= 32 && u != 127)
            clean += c;
    }
    return FromAnsi(std::string_view(clean.constData(), size_t(clean.size())));
}

} // namespace wire
