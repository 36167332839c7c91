#pragma once
// The game speaks Windows-1252 bytes; widgets speak QString.

#include <string>
#include <string_view>

#include <QString>

QString FromAnsi(std::string_view bytes);
std::string ToAnsi(const QString& text);
