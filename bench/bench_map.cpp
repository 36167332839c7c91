// The map with a full 64 x 64 square known: painting MapGrid, a move
// through the real window, and storing and reading the map file.
#include <cstdlib>
#include <memory>
#include <string>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "map/kyrmap.h"
#include "map/map_grid.h"
#include "map/mapview.h"
#include "map/path_finder.h"
#include "map/world_map.h"
#include "session/coms.h"
#include "app/mainform.h"
#include "bench_window.h"
#include "support/fake_mainview.h"

namespace {

constexpr int kSquare = kMapWidth * kMapWidth;

// The map folder and a tile strip, as the map tab reads them.
void MapFiles()
{
    QDir().mkpath("maps");
    QImage tiles(128, 16, QImage::Format_RGB32);
    for (int i = 0; i < 8; ++i)
        for (int x = 0; x < 16; ++x)
            for (int y = 0; y < 16; ++y)
                tiles.setPixel(16 * i + x, y, qRgb(30 * i, (x * y) % 255, 90));
    tiles.save("links.bmp", "BMP");
}

std::unique_ptr<Location> Place(int key)
{
    auto location = std::make_unique<Location>();
    location->name = "Street " + std::to_string(key) + " O'Hare";
    location->x = key % kMapWidth;
    location->y = key / kMapWidth;
    location->exits = std::bitset<10>(static_cast<unsigned long>(key * 37) & 0x3FF);
    return location;
}

// The real window, shown, streaming, on a map whose whole square is known.
struct FullWindow : BenchWindow {
    FullWindow()
        : BenchWindow(MapFiles)
    {
        form->show();
        form->GetComs().SetMode(Coms::Streaming);
        form->ReceiveChunk("<s-new-map system='Sol' name='Bench' owner='Hale'/>\n");
        for (int key = 0; key < kSquare; ++key)
            form->GetWorldMap().LocationArrived(Place(key));
        form->MainNotebook->setCurrentIndex(1);
        QApplication::processEvents();
    }
    ~FullWindow()
    {
        // The benchmark's map is not worth keeping.
        form->GetWorldMap().Map()->Info().name.clear();
        form.reset();
    }
};

void BM_MapGridFullRepaint(benchmark::State& state)
{
    FullWindow w;
    TileGrid* grid = w.form->MapGrid;
    grid->CentreOn(32 * 64 + 32);
    for (auto _ : state)
        grid->viewport()->repaint();
    state.counters["cells"] = grid->VisibleColumns() * grid->VisibleRows();
}
BENCHMARK(BM_MapGridFullRepaint)->Unit(benchmark::kMillisecond);

// One move as the server sends it: the location, its description, its end
// tag and its contents. paint 0: the grids are centred and their repaint
// requested, coalesced as in a burst; 1: the whole window (grids and text
// panes) is painted after every move.
void BM_MoveThroughWindow(benchmark::State& state)
{
    const bool paint = state.range(0) != 0;
    FullWindow w;
    std::vector<std::string> moves;
    for (int i = 0; i < 64; ++i) {
        const int key = (i * 613) % kSquare;
        moves.push_back("<s-new-loc name='Street " + std::to_string(key) + "' loc-num='" + std::to_string(key)
            + "' n='1' e='1' sw='1'>\n" + "A long street of shuttered shops &amp; humming lamps.\n"
            + "Dust drifts in from the plains to the west.\n</s-new-loc>\n"
            + "<s-contents name='Trader'>A trader is here.</s-contents>\n");
    }
    std::size_t next = 0;
    for (auto _ : state) {
        w.form->ReceiveChunk(moves[next++ % moves.size()]);
        if (paint)
            QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MoveThroughWindow)->Arg(0)->Arg(1)->ArgName("paint");

class NullMapView : public MapView {
public:
    void ShowMapGrids() override { }
    void RepaintGrids() override { }
    void CentreGrids(int32_t) override { }
    void SetMapMemo(const std::vector<std::string>&) override { }
    void ShowCommandWindow() override { }
};

struct FullModel {
    BenchWorkDir place{MapFiles};
    FakeMainView main;
    NullMapView view;
    std::unique_ptr<KyrMap> map;
    FullModel()
    {
        main.workDir = place.dir.path().toStdString();
        map = std::make_unique<KyrMap>(main, view, QImage("links.bmp"));
        map->NewMap({{"name", "Bench Map"}, {"system", "Sol"}, {"owner", "Hale"}});
        for (int key = 0; key < kSquare; ++key)
            map->AddLocation(Place(key), false);
    }
};

void BM_SaveMap(benchmark::State& state)
{
    FullModel m;
    for (auto _ : state)
        m.map->SaveMap();
    state.counters["bytes"] = double(QFileInfo(QString::fromStdString(m.map->MapFileName())).size());
}
BENCHMARK(BM_SaveMap)->Unit(benchmark::kMillisecond);

void BM_LoadMap(benchmark::State& state)
{
    FullModel m;
    m.map->SaveMap();
    for (auto _ : state)
        m.map->LoadMap();
    state.counters["locations"] = double(m.map->Locations().size());
}
BENCHMARK(BM_LoadMap)->Unit(benchmark::kMillisecond);

// The shortest way across a full map. open 1: every location has all eight
// exits, corner to corner (63 steps, nearly every location looked at);
// open 0: a serpentine, rows joined at alternate ends, so the way passes
// through all 4,096 locations.
void BM_FindPathFullMap(benchmark::State& state)
{
    const bool open = state.range(0) != 0;
    FullModel m;
    for (int key = 0; key < kSquare; ++key) {
        auto location = Place(key);
        const int x = key % kMapWidth, y = key / kMapWidth;
        location->exits = open ? std::bitset<10>(0xFF) : std::bitset<10>();
        if (!open) {
            location->exits[2] = x < kMapWidth - 1; // e
            location->exits[6] = x > 0; // w
            const bool joinEnd = (y % 2 == 0) ? x == kMapWidth - 1 : x == 0;
            location->exits[4] = joinEnd && y < kMapWidth - 1; // s
        }
        m.map->AddLocation(std::move(location), false);
    }
    const int32_t to = open ? kSquare - 1 : (kMapWidth - 1) * kMapWidth;
    std::size_t steps = 0;
    for (auto _ : state) {
        steps = FindPath(*m.map, 0, to).size();
        benchmark::DoNotOptimize(steps);
    }
    state.counters["steps"] = double(steps);
}
BENCHMARK(BM_FindPathFullMap)->Arg(1)->Arg(0)->ArgName("open")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
