// The status panels in the real window: a burst of statistics and exchange
// elements through cutting, dispatch and the widgets; and the cost of
// sitting idle but connected with the ticker running and the lights on.
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "session/coms.h"
#include "app/mainform.h"
#include "bench_window.h"

namespace {

void PanelPictures()
{
    QDir().mkpath("pictures");
    for (const char* name : {"Grain", "Spices", "Alloys", "exchange", "interference", "space", "nova", "trader"}) {
        QImage image(100, 60, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.save(QString("pictures/%1.bmp").arg(name), "BMP");
    }
}

// The window, shown, with the pictures its panels load.
struct Window : BenchWindow {
    Window()
        : BenchWindow(PanelPictures)
    {
        form->show();
    }
};

// Rounds of ten elements: five figures and five quotes.
std::vector<std::string> PanelChunks(int rounds)
{
    const char* goods[] = {"Grain", "Spices", "Alloys", "Ore"};
    std::string stream = "<s-player-stats name='Nova'/>\n<s-ship-stats class='Trader'/>\n";
    for (int r = 0; r < rounds; ++r) {
        const std::string n = std::to_string(r % 997);
        const std::string good = goods[r % 4];
        stream += "<s-player-stats stat='sta' max='1000' cur='" + n + "'/>\n";
        stream += "<s-player-stats stat='cash' amount='" + std::to_string(r * 1013) + "'/>\n";
        stream += "<s-player-stats stat='loan' amount='" + std::to_string(r % 3) + "'/>\n";
        stream += "<s-ship-stats stat='fuel' max='997' cur='" + n + "'/>\n";
        stream += "<s-ship-stats stat='hull' max='100' cur='" + std::to_string(r % 100) + "'/>\n";
        stream += "<s-exch-sell name='" + good + "' price='" + n + "' stock='30'/>\n";
        stream += "<s-exch-buy name='" + good + "' price='" + n + "'/>\n";
        stream += "<s-exch-sell name='Textiles' price='140' stock='" + n + "'/>\n";
        stream += "<s-exch-buy name='Alloys' price='210'/>\n";
        stream += "<s-exch-sell name='Spices' price='260' stock='200'/>\n";
    }
    std::vector<std::string> chunks;
    for (std::size_t at = 0; at < stream.size(); at += 4095)
        chunks.push_back(stream.substr(at, 4095));
    return chunks;
}

void BM_PanelElementsThroughWindow(benchmark::State& state)
{
    Window w;
    w.form->GetComs().SetMode(Coms::Streaming);
    const int rounds = 10000;
    const auto chunks = PanelChunks(rounds);
    for (auto _ : state) {
        for (const std::string& chunk : chunks)
            w.form->ReceiveChunk(chunk);
        // Paint what the burst left on screen.
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * rounds * 10);
}
BENCHMARK(BM_PanelElementsThroughWindow)->Unit(benchmark::kMillisecond);

double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Connected to a quiet game that quotes a price every 4 s (the ticker runs
// about 5 s per quote, so it never rests) and sends its keep-alive every
// 5 s; the lights twinkle throughout. ORVIX_IDLE_SECONDS shortens the run.
void BM_IdleConnectedCpu(benchmark::State& state)
{
    const char* env = std::getenv("ORVIX_IDLE_SECONDS");
    const int seconds = env ? std::atoi(env) : 30;
    Window w;
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    QTcpSocket* client = nullptr;
    QObject::connect(&server, &QTcpServer::newConnection, [&] { client = server.nextPendingConnection(); });
    w.form->OpenConnection("127.0.0.1", server.serverPort(), "Nova");
    QElapsedTimer wait;
    wait.start();
    while ((!client || !w.form->TwinkleTimer->isActive()) && wait.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    w.form->GetComs().SetMode(Coms::Streaming);
    int quote = 0;
    QTimer quotes, noops;
    QObject::connect(&quotes, &QTimer::timeout, [&] {
        client->write(
            "<s-exch-sell name='Grain' price='" + QByteArray::number(100 + quote++ % 20) + "' stock='300'/>\n");
    });
    QObject::connect(&noops, &QTimer::timeout, [&] { client->write("<s-no-op/>\n"); });
    client->write("<s-exchange name='Kyrnos'/>\n<s-exch-sell name='Grain' price='99' stock='300'/>\n");
    quotes.start(4000);
    noops.start(5000);

    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        const double cpu = ProcessCpuSeconds() - cpuBefore;
        const double elapsed = double(wall.elapsed()) / 1000.0;
        state.SetIterationTime(elapsed);
        state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / elapsed;
        state.counters["ticker_running"] = w.form->TickerTimer->isActive() ? 1 : 0;
        state.counters["lights_running"] = w.form->TwinkleTimer->isActive() ? 1 : 0;
    }
}
BENCHMARK(BM_IdleConnectedCpu)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv);
}
