#pragma once
// Lines as bytes on the wire: Windows-1252 with the client's own table,
// each ending with a line feed only. A line sent to many clients is encoded
// once and the same bytes go to each.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace wire {

QByteArray encode(const QString& line);
QByteArray encode(const QStringList& lines);

// A received line as the game sees it: tabs become blanks, other control
// bytes (NUL, escape sequences, the carriage return of a telnet line end)
// are dropped, the rest is decoded.
QString decodeLine(QByteArrayView line);

} // namespace wire
