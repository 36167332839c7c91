#pragma once
// The data files the program reads (pictures, sounds) are looked up without
// regard to letter case, as on the platform the game was first played on.

#include <string>

// The path of `fileName` in `folder`: the exact name when such a file exists,
// else the first file whose name matches ignoring case; empty when none does.
// A name holding a path separator never matches, since names come from the
// server and must not reach outside the folder.
std::string FindDataFile(const std::string& folder, const std::string& fileName);
