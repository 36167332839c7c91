#include "panels/panel_pictures.h"

#include <cctype>
#include <system_error>

#include "base/datafiles.h"

std::string PictureFinder::Find(const std::string& name, const std::string& fallback)
{
    const auto now = std::chrono::steady_clock::now();
    if (now - checked >= std::chrono::milliseconds(500)) {
        checked = now;
        std::error_code error;
        const auto time = std::filesystem::last_write_time("pictures", error);
        if (error || time != folderTime) {
            found.clear();
            folderTime = error ? std::filesystem::file_time_type{} : time;
        }
    }
    std::string path = Lookup(name);
    return path.empty() ? Lookup(fallback) : path;
}

std::string PictureFinder::Lookup(const std::string& name)
{
    auto it = found.find(name);
    if (it == found.end() && found.size() >= kRemembered)
        found.clear();
    if (it == found.end())
        it = found.emplace(name, FindNamedDataFile("pictures", name + ".bmp")).first;
    return it->second;
}

std::string LowerFirst(std::string name)
{
    if (!name.empty())
        name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    return name;
}
