#include "panels/panel_pictures.h"

#include <cctype>

#include "shell/datafiles.h"

std::string FindPicture(const std::string& name, const std::string& fallback)
{
    std::string path = FindNamedDataFile("pictures", name + ".bmp");
    if (path.empty())
        path = FindNamedDataFile("pictures", fallback + ".bmp");
    return path;
}

std::string LowerFirst(std::string name)
{
    if (!name.empty())
        name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    return name;
}
