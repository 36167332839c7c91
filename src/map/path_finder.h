#pragma once
// The shortest way between two locations of a map over what is known of it:
// its locations and their eight compass exits, never off the map.

#include <cstdint>
#include <vector>

class KyrMap;

struct PathStep {
    int exit; // index into the exit table, 0 "n" to 7 "nw"
    int32_t key; // the location it leads to
    bool operator==(const PathStep&) const = default;
};

// The steps to take in turn; empty when no known way leads there or `from`
// is `to`.
std::vector<PathStep> FindPath(const KyrMap& map, int32_t from, int32_t to);
