#include "panels/ticker.h"

const std::string Ticker::kLeadIn(74, ' ');

Ticker::Ticker(TickerView& v)
    : view(v)
    , buffer(kLeadIn)
{
}

void Ticker::TickerStep(std::string_view text)
{
    buffer += text;
    if (runLength == 0)
        runLength = static_cast<int>(buffer.size());
    if (!buffer.empty())
        buffer.erase(0, 1);
    view.SetTickerText(buffer);
    if (steps == 0)
        view.StartTickerTimer();
    ++steps;
    if (steps >= runLength) {
        // The ticker keeps showing its last text until the next message.
        view.StopTickerTimer();
        steps = 0;
        runLength = 0;
        buffer = kLeadIn;
    }
}
