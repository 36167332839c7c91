#pragma once
// One location of a map: its name, its square on the 64 x 64 map and its
// exits, as the server describes it in s-new-loc and as map files store it.

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

#include "markup/xml.h"

inline constexpr int32_t kMapWidth = 64;

// Exit flags are indexed like this table; the names are the attribute names
// of the server's elements and of the map files.
inline constexpr std::array<std::string_view, 10> kExitNames{"n", "ne", "e", "se", "s", "sw", "w", "nw", "u", "d"};

struct Location {
    std::string name;
    int32_t x = -1;
    int32_t y = -1;
    std::bitset<10> exits;

    // From the attributes of s-new-loc or of a map file's loc element.
    static Location FromAttributes(const AttribList& attributes);
};

// y * 64 + x; -65 for a location without coordinates.
int32_t LocationKey(const Location& location);

// Appends the location's line of a map file.
void WriteLocation(const Location& location, std::string& out);
