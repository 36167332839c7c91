#include "map/location.h"

Location Location::FromAttributes(const AttribList& attributes)
{
    Location loc;
    loc.name = GetAttribute(attributes, "name");
    const int32_t number = GetNumberAttribute(attributes, "loc-num", -1);
    // A location without a name or number cannot be placed; it keeps -1, -1.
    if (number >= 0 && !loc.name.empty()) {
        loc.x = number % kMapWidth;
        loc.y = number / kMapWidth;
    }
    for (std::size_t i = 0; i < kExitNames.size(); ++i)
        loc.exits[i] = !GetAttribute(attributes, kExitNames[i]).empty();
    return loc;
}

int32_t LocationKey(const Location& location)
{
    return location.y * kMapWidth + location.x;
}

void WriteLocation(const Location& location, std::string& out)
{
    out += "   <loc name='" + EscapeText(location.name) + "' loc-num='" + std::to_string(LocationKey(location)) + "'";
    for (std::size_t i = 0; i < kExitNames.size(); ++i)
        if (location.exits[i]) {
            out += ' ';
            out += kExitNames[i];
            out += "='0'";
        }
    out += "/>\n";
}
