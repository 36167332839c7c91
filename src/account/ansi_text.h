#pragma once
// The dialogs show and take text as Windows-1252 bytes, the encoding of the
// settings file and of the server.

#include <string>

#include <QString>

QString FromAnsi(const std::string& bytes);
std::string ToAnsi(const QString& text);
