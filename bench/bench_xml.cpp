// Throughput of the markup scanner on a stream shaped like a busy game
// session: prose lines mixed with s- element lines carrying 3 to 10
// attributes, entities in both.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "markup/xml.h"

namespace {

// Touches every event so the compiler cannot drop the scanning work.
class CountingParser : public XMLParser {
public:
    std::size_t starts = 0, ends = 0, textBytes = 0, attributeBytes = 0;

protected:
    void StartElement(const std::string& name, const AttribList& attributes) override
    {
        ++starts;
        attributeBytes += name.size();
        for (const AttribRec& a : attributes)
            attributeBytes += a.name.size() + a.value.size();
    }
    void EndElement(const std::string& name) override
    {
        ++ends;
        attributeBytes += name.size();
    }
    void Characters(const std::string& text) override { textBytes += text.size(); }
};

// A dispatcher-like reader: looks attributes up by name as the handlers do.
class LookupParser : public XMLParser {
public:
    int64_t sum = 0;

protected:
    void StartElement(const std::string& name, const AttribList& attributes) override
    {
        sum += static_cast<int64_t>(name.size());
        sum += GetNumberAttribute(attributes, "loc-num", 0);
        sum += static_cast<int64_t>(GetAttribute(attributes, "name").size());
        sum += GetFlagAttribute(attributes, "shipyard", false) ? 1 : 0;
    }
    void Characters(const std::string& text) override { sum += static_cast<int64_t>(text.size()); }
};

const char* const kWords[] = {"the", "trader", "docks", "at", "Earth", "exchange", "and", "sells", "a", "cargo", "of",
    "nanos", "while", "Bob's", "ship", "<sigh>", "R&D", "hold", "spaceport", "to", "north", "fuel", "is", "low"};

std::string Prose(std::mt19937& rng)
{
    std::string line;
    const int words = 8 + static_cast<int>(rng() % 12);
    for (int i = 0; i < words; ++i) {
        if (i)
            line += ' ';
        // The server escapes markup characters in prose.
        line += EscapeText(kWords[rng() % std::size(kWords)]);
    }
    return line + ".";
}

std::string ElementLine(std::mt19937& rng)
{
    static const char* const kNames[] = {
        "s-new-loc", "s-add-player", "s-contents", "s-exch-sell", "s-player-stats", "s-ship-stats", "s-update-infra"};
    static const char* const kAttrs[]
        = {"name", "loc-num", "north", "south", "east", "west", "rank", "shipyard", "value", "stock", "price", "cash"};
    const char* element = kNames[rng() % std::size(kNames)];
    std::string line = std::string("<") + element;
    const int count = 3 + static_cast<int>(rng() % 8);
    for (int i = 0; i < count; ++i) {
        line += ' ';
        line += kAttrs[rng() % std::size(kAttrs)];
        line += "='";
        switch (rng() % 4) {
        case 0: line += std::to_string(static_cast<int>(rng() % 8192) - 100); break;
        case 1: line += rng() % 2 ? "true" : "false"; break;
        case 2: line += EscapeText("Smith's <Bar> & Grill"); break;
        default: line += "Magellan Spaceport"; break;
        }
        line += '\'';
    }
    switch (rng() % 3) {
    case 0: return line + "/>";
    case 1: return line + ">";
    default: return line + ">" + Prose(rng) + "</" + element + ">";
    }
}

// About 1 MB of lines: two in three are prose, as in play; some end tags.
std::vector<std::string> MakeStream(std::size_t& bytes)
{
    std::mt19937 rng(1234);
    std::vector<std::string> lines;
    bytes = 0;
    while (bytes < (1u << 20)) {
        const unsigned kind = rng() % 12;
        std::string line;
        if (kind < 7)
            line = (kind == 0 ? "   " : "") + Prose(rng);
        else if (kind < 11)
            line = ElementLine(rng);
        else
            line = "</s-new-loc>";
        bytes += line.size() + 1; // the line feed the reader cut off
        lines.push_back(std::move(line));
        // The connection also hands over one blank line per line feed; it
        // carries no bytes of the stream.
        lines.emplace_back(" ");
    }
    return lines;
}

template <class Parser>
void RunScanner(benchmark::State& state)
{
    std::size_t bytes = 0;
    const std::vector<std::string> lines = MakeStream(bytes);
    Parser parser;
    for (auto _ : state) {
        for (const std::string& line : lines)
            parser.ParseText(line);
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(parser);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    state.counters["lines"] = benchmark::Counter(
        static_cast<double>(lines.size()) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ScanMixedStream(benchmark::State& state)
{
    RunScanner<CountingParser>(state);
}
void BM_ScanMixedStreamWithLookups(benchmark::State& state)
{
    RunScanner<LookupParser>(state);
}

} // namespace

BENCHMARK(BM_ScanMixedStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanMixedStreamWithLookups)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
