#pragma once
// Data files (pictures, sounds) are found without regard to letter case.

#include <string>

#include <QString>

// The exact path when it exists, else a case-insensitive match of its file
// name in the same folder, else an empty string.
QString FindDataFile(const QString& path);

// The file `name` in `folder` (paths in the local 8-bit encoding, the name in
// the game's), found as above; empty when there is none. A name holding a
// path separator comes from the server and never matches, so nothing outside
// the folder is read.
std::string FindNamedDataFile(const std::string& folder, const std::string& name);
