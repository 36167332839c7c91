#pragma once
// The players in the game right now, kept in step with the server's
// s-add-player and s-remove-player and shown in the players list.

#include <cstddef>
#include <map>
#include <string>

class MainView;

struct Persona {
    std::string name;
};

class Players {
public:
    // A flooding server cannot grow the roster without bound: past this many
    // players, and for names too long to be names, arrivals are ignored.
    static constexpr std::size_t kMaxPlayers = 1000;
    static constexpr std::size_t kMaxNameBytes = 64;

    explicit Players(MainView& view);

    // Names compare byte by byte: "zed" and "Zed" are two players.
    void AddPlayer(const std::string& name);
    void RemovePlayer(const std::string& name);
    // A new connection starts with nobody listed.
    void Clear();

    bool Contains(const std::string& name) const { return roster.count(name) != 0; }
    std::size_t Count() const { return roster.size(); }

private:
    MainView& view;
    std::map<std::string, Persona> roster;
};
