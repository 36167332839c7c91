#pragma once
// The friends list: game ranks whose every arrival is announced, and named
// friends whose arrivals and departures are announced and who are listed on
// the main window's "Friends" page while they are in the game.

#include <cstdint>
#include <string>
#include <vector>

#include "settings/init.h"

class MainView;

inline constexpr int kRankCount = 16;

class Friends : public FriendsSettings {
public:
    explicit Friends(MainView& view);

    // An s-add-player (logged in, with its rank) or s-remove-player (rank 0).
    void PlayerChanged(int32_t rank, const std::string& name, bool loggedIn);

    // As read from and written to the settings file.
    void SetRanks(uint32_t ranks) override;
    void SetAudio() override;
    void AddName(const std::string& name) override;
    std::string FriendsBlock() const override;

    // Bit n stands for rank n.
    uint16_t Ranks() const { return ranks; }
    bool Audio() const { return audio; }
    const std::vector<std::string>& Names() const { return names; }
    // What the dialog's OK sets: everything replaced, names capitalised.
    void Replace(uint16_t newRanks, bool newAudio, const std::vector<std::string>& newNames);

private:
    bool RankChosen(int32_t rank) const;
    void PlayAlert();

    MainView& view;
    uint16_t ranks = 0;
    bool audio = false;
    std::vector<std::string> names;
};
