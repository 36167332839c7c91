#include "shell/data_files.h"

#include <filesystem>
#include <system_error>

#include "shell/ansi_text.h"

namespace fs = std::filesystem;

std::string FindDataFile(const std::string& folder, const std::string& fileName)
{
    if (fileName.empty() || fileName.find_first_of("/\\") != std::string::npos)
        return {};

    std::error_code ec;
    const fs::path exact = fs::path(folder) / fileName;
    if (fs::is_regular_file(exact, ec))
        return exact.string();

    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (SameIgnoringCase(candidate, fileName) && it->is_regular_file(ec))
            return (fs::path(folder) / candidate).string();
    }
    return {};
}
