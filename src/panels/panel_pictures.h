#pragma once
// Pictures of the panels live in "pictures" under the current directory and
// are found whatever their letter case.

#include <chrono>
#include <filesystem>
#include <map>
#include <string>

// Finds pictures/<name>.bmp, else pictures/<fallback>.bmp. Quotes arrive by
// the hundred, so answers are remembered until the folder changes (a file
// added, removed or renamed changes the folder's time, looked at no more
// than twice a second).
class PictureFinder {
public:
    // The path found, or empty when neither picture exists.
    std::string Find(const std::string& name, const std::string& fallback);

private:
    std::string Lookup(const std::string& name);

    // Names come from the server: keep the memory bounded.
    static constexpr std::size_t kRemembered = 256;

    std::chrono::steady_clock::time_point checked{};
    std::filesystem::file_time_type folderTime{};
    std::map<std::string, std::string> found;
};

// The name with its first character in lower case, as avatar and ship
// pictures are named.
std::string LowerFirst(std::string name);
