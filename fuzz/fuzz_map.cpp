// Map files read, written back and read again: the second read must give the
// same locations as the first. The input's first line is also taken as a map
// name from the server, whose file must stay inside maps/.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <tuple>

#include "map/kyrmap.h"
#include "map/map_parser.h"
#include "scratch_dir.h"

namespace {

using Model = std::map<int32_t, std::tuple<std::string, int32_t, int32_t, unsigned long>>;

// What the map keeps of a file: one location per key, the last one read.
Model Read(const std::string& path)
{
    Model model;
    MapParser parser(path, [&model](std::unique_ptr<Location> l) {
        model[LocationKey(*l)] = {l->name, l->x, l->y, l->exits.to_ulong()};
    });
    parser.ParseFile();
    return model;
}

void Write(const std::string& path, const Model& model)
{
    std::string out = "<?xml version=\"1.0\"?>\n\n<map name='fuzz'>\n";
    for (const auto& [key, fields] : model) {
        Location l;
        std::tie(l.name, l.x, l.y, std::ignore) = fields;
        l.exits = std::bitset<10>(std::get<3>(fields));
        WriteLocation(l, out);
    }
    out += "\n</map>\n";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << out;
}

void CheckStem(const std::string& name)
{
    const std::string stem = MapFileStem(name);
    if (stem.empty())
        return;
    // maps/ + stem + ".xml" stays in maps/ unless the stem holds a separator.
    if (stem.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
        fprintf(stderr, "broken property: map name '%s' gives file '%s'\n", name.c_str(), stem.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckStem(input.substr(0, input.find('\n')));

    static const std::string first = ScratchFile("map.xml");
    static const std::string second = ScratchFile("map-again.xml");
    std::ofstream(first, std::ios::binary | std::ios::trunc) << input;
    const Model model = Read(first);
    Write(second, model);
    if (!(Read(second) == model)) {
        fprintf(stderr, "broken property: a map file read back differently\n");
        std::abort();
    }
    return 0;
}
