#include "map/path_finder.h"

#include <algorithm>
#include <array>

#include "map/kyrmap.h"

namespace {

constexpr int kSquare = kMapWidth * kMapWidth;
// Steps of the compass exits, in exit table order: n, ne, e, se, s, sw, w, nw.
constexpr int kDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int kDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
constexpr int8_t kUnreached = -1;
constexpr int8_t kStart = 8;

const Location* At(const KyrMap& map, int key)
{
    if (key < 0 || key >= kSquare)
        return nullptr;
    return map.LocationAt(2 * (key % kMapWidth) + 1, 2 * (key / kMapWidth) + 1);
}

} // namespace

std::vector<PathStep> FindPath(const KyrMap& map, int32_t from, int32_t to)
{
    if (from == to || !At(map, from) || !At(map, to))
        return {};
    // Every step costs the same, so a breadth-first search finds a shortest way.
    std::array<int8_t, kSquare> exitTaken; // the exit that first reached each location
    exitTaken.fill(kUnreached);
    std::array<int16_t, kSquare> queue;
    int head = 0, tail = 0;
    queue[tail++] = static_cast<int16_t>(from);
    exitTaken[from] = kStart;
    while (head < tail && exitTaken[to] == kUnreached) {
        const int here = queue[head++];
        const Location& location = *At(map, here);
        const int x = here % kMapWidth;
        const int y = here / kMapWidth;
        for (int exit = 0; exit < 8; ++exit) {
            const int nx = x + kDx[exit];
            const int ny = y + kDy[exit];
            // A way never leaves the map.
            if (!location.exits[exit] || nx < 0 || ny < 0 || nx >= kMapWidth || ny >= kMapWidth)
                continue;
            const int next = ny * kMapWidth + nx;
            if (exitTaken[next] != kUnreached || !At(map, next))
                continue;
            exitTaken[next] = static_cast<int8_t>(exit);
            queue[tail++] = static_cast<int16_t>(next);
        }
    }
    if (exitTaken[to] == kUnreached)
        return {};
    std::vector<PathStep> steps;
    for (int at = to; at != from;) {
        const int exit = exitTaken[at];
        steps.push_back({exit, at});
        at -= kDy[exit] * kMapWidth + kDx[exit];
    }
    std::reverse(steps.begin(), steps.end());
    return steps;
}
