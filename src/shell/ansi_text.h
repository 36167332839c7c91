#pragma once
// Text in the Windows ANSI code page (Windows-1252), as the server and the
// files carry it: conversion for the widgets and the code page's own letter
// case rules.

#include <string>
#include <string_view>

#include <QString>

QString FromAnsi(std::string_view bytes);
// Characters outside the code page become "?".
std::string ToAnsi(const QString& text);

char AnsiToUpper(char c);
char AnsiToLower(char c);
bool SameIgnoringCase(std::string_view a, std::string_view b);
// First letter upper case, all others lower case: how player names are written.
std::string Capitalised(std::string_view text);
