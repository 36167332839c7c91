#pragma once
// Data files (pictures, sounds) are found without regard to letter case.

#include <QString>

// The exact path when it exists, else a case-insensitive match of its file
// name in the same folder, else an empty string.
QString FindDataFile(const QString& path);
