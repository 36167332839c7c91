#pragma once
// The core keeps text as Windows-1252 bytes; widgets show and take QString.

#include <string>
#include <string_view>

#include <QString>

QString FromAnsi(std::string_view bytes);
// Characters the code page cannot hold become '?'.
std::string ToAnsi(const QString& text);
