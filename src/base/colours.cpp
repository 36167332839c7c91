#include "base/colours.h"

bool IsSystemColour(int32_t code)
{
    return (static_cast<uint32_t>(code) & 0x80000000u) != 0;
}

QColor ColourFromCode(int32_t code)
{
    if (IsSystemColour(code))
        return {};
    const auto v = static_cast<uint32_t>(code);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int32_t CodeFromColour(const QColor& colour)
{
    const uint32_t v = uint32_t(colour.red()) | (uint32_t(colour.green()) << 8) | (uint32_t(colour.blue()) << 16);
    return static_cast<int32_t>(v);
}
