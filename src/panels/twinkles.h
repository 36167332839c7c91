#pragma once
// The console lights: ten small lights on the Spaceship page that flicker
// while connected, one light changing colour every 200 ms.

#include <random>

#include "panels/panel_views.h"

class MainView;

class Twinkles {
public:
    Twinkles(MainView& view, LightsView& lights);

    void StartLights();
    void StopLights();
    // One light takes one colour of the palette, both drawn at random.
    void Twinkle();
    void TwinkleTimerTimer() { Twinkle(); }
    // "Console Lights" has just been checked or unchecked.
    void LightsItemClick(bool checked);
    // The connection's opening and closing, under "Console Lights".
    void Connected();
    void Disconnected();

    static constexpr int kLights = 10;
    static constexpr LightColour kPalette[4] = {{255, 0, 0}, {0, 255, 0}, {255, 255, 0}, {0, 0, 255}};

private:
    MainView& view;
    LightsView& lights;
    // Not seeded from the clock: the pattern repeats from run to run.
    std::minstd_rand random;
};
