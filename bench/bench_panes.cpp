// Received chunks through cutting, routing, display and trimming into the
// window's panes, on the offscreen platform.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QDir>

#include <benchmark/benchmark.h>

#include "session/coms.h"
#include "app/mainform.h"
#include "widgets/textpane.h"
#include "bench_window.h"

namespace {

// A stream of prose lines cut into socket-sized chunks.
std::vector<std::string> MakeChunks(int lines, int* lineCount)
{
    const char* prose[] = {
        "The docking bay hums with the noise of cargo haulers and loaders.",
        "A tall figure in a worn flight suit nods at you as you pass.",
        "Prices at the exchange are moving again: alloys up, spices down.",
        "You see a battered courier ship here, its hatch half open.",
        "Nova says, \"Anyone heading out to the Cassa belt tonight?\"",
    };
    std::string stream;
    for (int i = 0; i < lines; ++i) {
        stream += prose[i % 5];
        stream += "\r\n";
    }
    *lineCount = lines;
    std::vector<std::string> chunks;
    for (std::size_t at = 0; at < stream.size(); at += 4095)
        chunks.push_back(stream.substr(at, 4095));
    return chunks;
}

long ResidentKiB()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * 4;
}

struct Window : BenchWindow {
    explicit Window(bool rawEcho)
    {
        form->GetComs().SetMode(Coms::AwaitingStream);
        form->SetOptionChecked(Option::DisplayServerStream, rawEcho);
    }
};

void BM_ChunksToPanes(benchmark::State& state)
{
    Window w(state.range(0) != 0);
    int lines = 0;
    const auto chunks = MakeChunks(20000, &lines);
    for (auto _ : state) {
        for (const std::string& chunk : chunks)
            w.form->ReceiveChunk(chunk);
    }
    // Each line feed gives the line and a blank line after it.
    state.SetItemsProcessed(state.iterations() * lines);
    state.counters["panes_lines"] = w.form->OutputEdit->LineCount();
}
BENCHMARK(BM_ChunksToPanes)->Arg(0)->ArgName("raw_echo")->Unit(benchmark::kMillisecond);

// A busy session's element stream through the dispatcher into the real
// window: locations, contents, arrivals, prose, reports, keep-alives.
std::vector<std::string> ElementChunks(int rounds, int* elements)
{
    std::string stream;
    int count = 0;
    auto add = [&](const std::string& line, int n) {
        stream += line;
        stream += '\n';
        count += n;
    };
    for (int r = 0; r < rounds; ++r) {
        const std::string n = std::to_string(r % 50);
        add("<s-new-loc name='Trade Lane " + n + "' loc-num='" + std::to_string(r % 4096)
                + "' n='1' e='1' s='1' w='1' u='' d=''>",
            1);
        add("A wide lane between the warehouses, busy with haulers &amp; loaders.", 0);
        add("</s-new-loc>", 0);
        add("<s-contents name='Trader " + n + "'>Trader " + n + " is here, haggling.</s-contents>", 1);
        add("<s-contents name='Cargo Lifter'>A cargo lifter hovers here.</s-contents>", 1);
        add("<s-default>You hear the exchange bell ring in the distance.</s-default>", 1);
        add("<s-add-player name='Pilot" + n + "' rank='3'/>", 1);
        add("<s-remove-contents name='Cargo Lifter'>The lifter hums away.</s-remove-contents>", 1);
        add("<s-remove-player name='Pilot" + n + "'/>", 1);
        add("<s-no-op/>", 1);
        if (r % 10 == 0) {
            add("<s-spynet-start name='Pilot" + n + "' rank='Trader'/>", 1);
            add("<s-spynet>", 1);
            add("Pilot" + n + " trades in spices and alloys.", 0);
            add("Last seen near the Cassa belt.", 0);
            add("</s-spynet>", 0);
        }
    }
    *elements = count;
    std::vector<std::string> chunks;
    for (std::size_t at = 0; at < stream.size(); at += 4095)
        chunks.push_back(stream.substr(at, 4095));
    return chunks;
}

void BM_ElementsToPanes(benchmark::State& state)
{
    Window w(false);
    w.form->GetComs().SetMode(Coms::Streaming);
    int elements = 0;
    const auto chunks = ElementChunks(2000, &elements);
    for (auto _ : state) {
        for (const std::string& chunk : chunks)
            w.form->ReceiveChunk(chunk);
    }
    state.SetItemsProcessed(state.iterations() * elements);
}
BENCHMARK(BM_ElementsToPanes)->Unit(benchmark::kMillisecond);

// A shown pane as the player sees it: each burst of lines is followed by
// the scroll bar update and a repaint. Play brings a few lines at a time,
// far fewer than the pane shows.
void BM_ShownPaneBursts(benchmark::State& state)
{
    TextPane pane("Pane");
    pane.resize(600, 400);
    pane.show();
    const QString prose = "Prices at the exchange are moving again: alloys up, spices down.";
    const int burstLines = int(state.range(0));
    for (auto _ : state) {
        for (int burst = 0; burst < 200; ++burst) {
            for (int i = 0; i < burstLines; ++i) {
                pane.TrimTo(200);
                pane.AppendLine(prose);
            }
            QCoreApplication::processEvents();
            pane.repaint();
        }
    }
    state.SetItemsProcessed(state.iterations() * 200 * burstLines);
}
BENCHMARK(BM_ShownPaneBursts)->Arg(50)->Arg(3)->ArgName("lines")->Unit(benchmark::kMillisecond);

void BM_MemoryOverAMillionLines(benchmark::State& state)
{
    for (auto _ : state) {
        Window w(false);
        int lines = 0;
        const auto chunks = MakeChunks(100000, &lines);
        long after100k = 0;
        for (int round = 0; round < 10; ++round) {
            for (const std::string& chunk : chunks)
                w.form->ReceiveChunk(chunk);
            if (round == 0)
                after100k = ResidentKiB();
        }
        state.counters["rss_after_100k_KiB"] = double(after100k);
        state.counters["rss_after_1M_KiB"] = double(ResidentKiB());
        state.counters["output_lines"] = w.form->OutputEdit->LineCount();
    }
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_MemoryOverAMillionLines)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
