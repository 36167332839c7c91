#include "panels/twinkles.h"

#include "views/mainview.h"

Twinkles::Twinkles(MainView& v, LightsView& l)
    : view(v)
    , lights(l)
{
}

void Twinkles::StartLights()
{
    lights.StartTwinkleTimer();
}

void Twinkles::StopLights()
{
    lights.StopTwinkleTimer();
    lights.ResetLights();
}

void Twinkles::Twinkle()
{
    const LightColour colour = kPalette[random() % 4];
    lights.SetLight(static_cast<int>(random() % kLights), colour);
}

void Twinkles::LightsItemClick(bool checked)
{
    if (checked)
        StartLights();
    else
        StopLights();
}

void Twinkles::Connected()
{
    if (view.OptionChecked(Option::ConsoleLights))
        StartLights();
}

void Twinkles::Disconnected()
{
    if (view.OptionChecked(Option::ConsoleLights))
        StopLights();
}
