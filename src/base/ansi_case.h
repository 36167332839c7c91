#pragma once
// Letter case in the Windows ANSI code page (Windows-1252), the game's own
// encoding: player names are compared and capitalised on their bytes.

#include <string>
#include <string_view>

char AnsiToUpper(char c);
char AnsiToLower(char c);
bool SameIgnoringCase(std::string_view a, std::string_view b);
// First letter upper case, all others lower case: how player names are written.
std::string Capitalised(std::string_view text);
