#include "map/map_parser.h"

#include <array>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 2> kElements{"map", "loc"};

int LookupElement(std::string_view name)
{
    for (std::size_t i = 0; i < kElements.size(); ++i)
        if (kElements[i] == name)
            return static_cast<int>(i);
    return -1;
}

} // namespace

MapParser::MapParser(std::string path, Sink s)
    : XMLParser(std::move(path))
    , sink(std::move(s))
{
}

void MapParser::StartElement(const std::string& name, const AttribList& attributes)
{
    switch (LookupElement(name)) {
    case 0: sawMap = true; break;
    case 1: sink(std::make_unique<Location>(Location::FromAttributes(attributes))); break;
    default: break;
    }
}
