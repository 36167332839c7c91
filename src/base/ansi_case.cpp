#include "base/ansi_case.h"

// Letter pairs of the code page: ASCII, the Latin-1 letters (but the
// multiplication and division signs) and the four in 0x80-0x9F.
char AnsiToUpper(char ch)
{
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<char>(c - 0x20);
    switch (c) {
    case 0x9A: return static_cast<char>(0x8A);
    case 0x9C: return static_cast<char>(0x8C);
    case 0x9E: return static_cast<char>(0x8E);
    case 0xFF: return static_cast<char>(0x9F);
    default: return ch;
    }
}

char AnsiToLower(char ch)
{
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<char>(c + 0x20);
    switch (c) {
    case 0x8A: return static_cast<char>(0x9A);
    case 0x8C: return static_cast<char>(0x9C);
    case 0x8E: return static_cast<char>(0x9E);
    case 0x9F: return static_cast<char>(0xFF);
    default: return ch;
    }
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AnsiToLower(a[i]) != AnsiToLower(b[i]))
            return false;
    return true;
}

std::string Capitalised(std::string_view text)
{
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = i == 0 ? AnsiToUpper(out[i]) : AnsiToLower(out[i]);
    return out;
}
