#include "account/ansi_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

QString FromAnsi(const std::string& bytes)
{
    QStringDecoder decode("windows-1252");
    return decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToAnsi(const QString& text)
{
    QStringEncoder encode("windows-1252");
    const QByteArray bytes = encode(text);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}
