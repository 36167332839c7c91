#include "macros/macro_rec.h"

MacroRec::MacroRec(std::vector<std::string> commandLines)
    : lines(std::move(commandLines))
{
}

void MacroRec::Add(std::string line)
{
    lines.push_back(std::move(line));
}

void MacroRec::Clear()
{
    lines.clear();
}
