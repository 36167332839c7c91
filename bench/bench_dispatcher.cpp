// Dispatcher throughput on a stream shaped like a busy game session:
// movement with location descriptions and contents, arrivals, chat through
// tight beams, reports, statistics and exchange prices, keep-alives, and the
// one-blank line that follows every line of the stream.
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "dispatch/server_parser.h"
#include "social/friends_code.h"
#include "social/players.h"
#include "social/tb_code.h"
#include "support/fake_mainview.h"

namespace {

class NullTightBeamView : public TightBeamView {
public:
    void ShowTightBeamPage() override { }
    void ShowReportsPage() override { }
    void SetTightBeamCaption(const std::string&) override { }
    void ClearTightBeamTranscript() override { }
    void AddTightBeamLine(const std::string&) override { }
    void LoadTightBeamPicture(const std::string&) override { }
    void PrefillInput(const std::string&) override { }
};

std::vector<std::string> SessionLines()
{
    std::vector<std::string> lines;
    auto add = [&](std::string line) {
        lines.push_back(std::move(line));
        lines.push_back(" ");
    };
    for (int step = 0; step < 50; ++step) {
        const std::string n = std::to_string(step);
        add("<s-new-loc name='Trade Lane " + n + "' loc-num='" + std::to_string(step * 7 % 4096)
            + "' n='1' e='1' s='1' w='1'>");
        add("A wide avenue lined with market stalls runs north to south. Traders shout");
        add("their prices over the hum of cargo lifters &amp; the smell of spice fills the air.");
        add("</s-new-loc>");
        add("<s-contents name='Cargo Lifter'/>");
        add("<s-contents name='Trader " + n + "'>Trader " + n + " is here, haggling.</s-contents>");
        add("<s-default>You see the exchange terminal glowing to the east.</s-default>");
        add("<s-add-player name='Pilot" + n + "' rank='" + std::to_string(step % 16) + "'/>");
        add("<s-ship-stats class='Hauler' stat='Fuel' max='120' cur='" + std::to_string(100 - step) + "'/>");
        add("<s-player-stats name='Zed' rank='Captain' stat='Stamina' max='80' cur='75'/>");
        add("<s-exch-sell name='Spice' price='" + std::to_string(40 + step) + "' stock='300'/>");
        add("<s-exch-buy name='Grain' price='12'/>");
        add("<s-remove-contents name='Cargo Lifter'>The lifter hums away.</s-remove-contents>");
        if (step % 5 == 0) {
            add("<s-tb name='Amy'>Meet me at the exchange, bring");
            add(" the spice.</s-tb>");
            add("<s-spynet-start name='Pilot" + n + "' rank='Merchant'/>");
            add("<s-spynet>");
            add("Pilot" + n + " trades in spice and grain.");
            add("Last seen near Trade Lane " + n + ".");
            add("</s-spynet>");
            add("<s-no-op/>");
        }
        add("<s-default>+++ The market bell rings +++</s-default>");
        add("<s-remove-player name='Pilot" + n + "'/>");
    }
    return lines;
}

int64_t CountElements(const std::vector<std::string>& lines)
{
    int64_t count = 0;
    for (const std::string& line : lines)
        if (line.rfind("<s-", 0) == 0)
            ++count;
    return count;
}

void BM_DispatchSession(benchmark::State& state)
{
    FakeMainView view;
    view.options[Option::SoundFx] = true;
    Players players(view);
    Friends friends(view);
    friends.SetRanks(0x00F0);
    friends.AddName("Pilot3");
    NullTightBeamView page;
    TightBeam tightBeam(view, page);
    DispatchTargets targets;
    targets.players = &players;
    targets.friends = &friends;
    targets.tightBeam = &tightBeam;
    ServerParser parser(view, targets);

    const std::vector<std::string> lines = SessionLines();
    const int64_t elements = CountElements(lines);
    int64_t bytes = 0;
    for (const std::string& line : lines)
        bytes += static_cast<int64_t>(line.size()) + 1;

    for (auto _ : state) {
        for (const std::string& line : lines)
            parser.ParseText(line);
        // The fake keeps everything; the real panes trim themselves.
        view.calls.clear();
        view.displayed.clear();
        view.scrollback.clear();
        view.sent.clear();
    }
    using benchmark::Counter;
    state.counters["elements/s"] = Counter(static_cast<double>(elements), Counter::kIsIterationInvariantRate);
    state.counters["lines/s"] = Counter(static_cast<double>(lines.size()), Counter::kIsIterationInvariantRate);
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_DispatchSession);

} // namespace

BENCHMARK_MAIN();
