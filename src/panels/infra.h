#pragma once
// The map's information record: its system, name and owner from s-new-map,
// and the workforce and factories the server reports. It shows itself in
// MapMemo only when the server says so (s-update-infra).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "markup/xml.h"

class Infra {
public:
    // A new map's figures: no workers, no factories, names from the element.
    void ResetInfo(const AttribList& attributes);
    void MapInfo(const AttribList& attributes);
    void UpdateWorkers(const AttribList& attributes);
    void AddFactory(const AttribList& attributes);
    void RemoveFactory(const AttribList& attributes);

    // The text of MapMemo, one entry per line.
    std::vector<std::string> InfrastructureLines() const;
    // The opening map tag of a map file, with its empty line.
    void WriteHeader(std::string& out) const;

    std::string system;
    std::string name;
    std::string owner;
    int32_t workers = 0;
    // Output name to count, in byte order of the name; no count below 1.
    std::map<std::string, int32_t> factories;
};
