#pragma once
// What the map model needs from the window besides the main window's own
// operations: the two grids, the picture they replace, MapMemo and the
// command window.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class MapView {
public:
    virtual ~MapView() = default;

    // Hides MapImage and shows DetailGrid in its place.
    virtual void ShowMapGrids() = 0;
    // Repaints both grids from the model.
    virtual void RepaintGrids() = 0;
    // Selects and centres the location in DetailGrid, then in MapGrid, and
    // repaints both; a key off the 64 x 64 square leaves the grids where they are.
    virtual void CentreGrids(int32_t key) = 0;
    virtual void SetMapMemo(const std::vector<std::string>& lines) = 0;
    virtual void ShowCommandWindow() = 0;
    // Runs `task` once the lines already received from the server are
    // handled; at once where there is no event loop to wait for.
    virtual void RunSoon(std::function<void()> task) { task(); }
};
