#pragma once
// The exchange's scrolling ticker. Each new message and each timer tick
// moves the text one character to the left; a run lasts as many steps as
// the text held when it began, and a message arriving mid-run is appended
// without lengthening the run.

#include <string>
#include <string_view>

#include "panels/panel_views.h"

class Ticker {
public:
    explicit Ticker(TickerView& view);

    // A new message, or an empty text for a timer tick.
    void TickerStep(std::string_view text);
    void TickerTimerTimer() { TickerStep({}); }

    const std::string& Buffer() const { return buffer; }
    int RunLength() const { return runLength; }
    int Steps() const { return steps; }

    // The text a run starts from: the message enters from the right.
    static const std::string kLeadIn;

private:
    TickerView& view;
    std::string buffer;
    int runLength = 0;
    int steps = 0;
};
