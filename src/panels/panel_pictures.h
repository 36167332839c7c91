#pragma once
// Pictures of the panels live in "pictures" under the current directory and
// are found whatever their letter case.

#include <string>

// pictures/<name>.bmp, else pictures/<fallback>.bmp, else empty.
std::string FindPicture(const std::string& name, const std::string& fallback);
// The name with its first character in lower case, as avatar and ship
// pictures are named.
std::string LowerFirst(std::string name);
