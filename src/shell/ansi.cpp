#include "shell/ansi.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr const char* kCodePage = "windows-1252";
}

QString FromAnsi(std::string_view bytes)
{
    QStringDecoder decoder(kCodePage);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToAnsi(const QString& text)
{
    QStringEncoder encoder(kCodePage);
    if (!encoder.isValid())
        return text.toLatin1().toStdString();
    std::string bytes = QByteArray(encoder.encode(text)).toStdString();
    // The converter marks what the code page lacks with the control character
    // SUB, which must not reach the server as if typed; one byte per character.
    const QList<uint> codePoints = text.toUcs4();
    if (codePoints.size() == static_cast<qsizetype>(bytes.size())) {
        for (size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\x1a' && codePoints[static_cast<qsizetype>(i)] != 0x1a)
                bytes[i] = '?';
    }
    return bytes;
}
