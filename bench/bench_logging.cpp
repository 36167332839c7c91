// Story lines into an open session log: each line is flushed as it comes,
// so a full disk shows at the line that did not fit.
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "logging/logging.h"

namespace {

void BM_LogLines(benchmark::State& state)
{
    QTemporaryDir dir;
    Logging log(dir.filePath("bench.log").toStdString(), 0);
    const std::string line = "Prices at the exchange are moving again: alloys up, spices down.";
    for (auto _ : state)
        benchmark::DoNotOptimize(log.WriteLine(line));
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(line.size() + 1));
}
BENCHMARK(BM_LogLines);

} // namespace

BENCHMARK_MAIN();
