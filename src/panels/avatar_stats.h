#pragma once
// The avatar's figures on the "Score" page: name, rank, the four attributes,
// money and lines of credit, one s-player-stats element at a time.

#include <string>

#include "panels/panel_pictures.h"
#include "panels/stat_page.h"

class MainView;

class AvatarStats {
public:
    // The first s-player-stats: takes only its name, and asks the game to
    // examine the avatar.
    AvatarStats(MainView& view, StatsPageView& page, const AttribList& first);

    void Update(const AttribList& attributes);
    // A new connection: everything empty again.
    void ResetAvatarStats();
    // A click on a grid row, with the row's label.
    void SelectStat(const std::string& label) { figures.Select(label); }

    const std::string& Name() const { return name; }
    const std::string& Rank() const { return rank; }
    Gauge Value(std::string_view stat) const { return figures.Value(stat); }

private:
    void ShowName();

    MainView& view;
    StatsPageView& page;
    StatPage figures;
    std::string name;
    std::string rank;
    PictureFinder pictures;
};
