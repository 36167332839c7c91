// Finding text in the never-trimmed scrollback: 100,000 lines of prose, the
// word searched for only near the end, so each search crosses the buffer.
#include <deque>

#include <QString>

#include <benchmark/benchmark.h>

#include "widgets/text_finder.h"
#include "widgets/links.h"

namespace {

std::deque<QString> Prose(int count)
{
    const char* prose[] = {
        "The docking bay hums with the noise of cargo haulers and loaders.",
        "A tall figure in a worn flight suit nods at you as you pass.",
        "Prices at the exchange are moving again: alloys up, spices down.",
        "You see a battered courier ship here, its hatch half open.",
    };
    std::deque<QString> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(QString::fromLatin1(prose[i % 4]));
    lines[count - 10] = "Somewhere a Zircon beacon blinks.";
    return lines;
}

void BM_FindAcrossScrollback(benchmark::State& state)
{
    const std::deque<QString> lines = Prose(int(state.range(0)));
    const TextFinder finder([&lines](int i) { return lines[i]; }, int(lines.size()));
    for (auto _ : state) {
        auto match = finder.Find("zircon", std::nullopt, false);
        benchmark::DoNotOptimize(match);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FindAcrossScrollback)->Arg(500)->Arg(100000)->Unit(benchmark::kMillisecond);

// The count shown with every search crosses the whole buffer too.
void BM_CountAcrossScrollback(benchmark::State& state)
{
    const std::deque<QString> lines = Prose(int(state.range(0)));
    const TextFinder finder([&lines](int i) { return lines[i]; }, int(lines.size()));
    for (auto _ : state)
        benchmark::DoNotOptimize(finder.CountMatches("ship"));
}
BENCHMARK(BM_CountAcrossScrollback)->Arg(100000)->Unit(benchmark::kMillisecond);

// Links are found in every line painted.
void BM_FindLinksInProse(benchmark::State& state)
{
    const QString plain = "Prices at the exchange are moving again: alloys up, spices down.";
    const QString linked = "Vote for Kyrn at https://vote.example.org/kyrn?site=12 today!";
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindLinks(plain));
        benchmark::DoNotOptimize(FindLinks(linked));
    }
}
BENCHMARK(BM_FindLinksInProse);

} // namespace

BENCHMARK_MAIN();
