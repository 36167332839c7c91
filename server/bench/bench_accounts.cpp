// The accounts file at scale (a server with 30,000 accounts starts and
// saves) and what one password hash costs at the default settings.
#include "accountstore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <memory>

#include <benchmark/benchmark.h>

namespace {

constexpr int kAccounts = 30000;

// A data directory holding kAccounts accounts, made once.
const QTemporaryDir& populated()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        AccountStore store(dir.filePath("accounts.json"), HashCost{1, HashCost::kMinMemoryKiB});
        const Credentials shared = Credentials::derive("password1", HashCost{});
        for (int i = 0; i < kAccounts; ++i) {
            const QString id = QStringLiteral("pilot%1").arg(i);
            store.create(id, shared, id + "@example.org",
                Avatar::newcomer(QStringLiteral("Name%1").arg(i), "Human", "female", 35, 35, 35, 35, {}));
        }
        QString error;
        return store.save(&error);
    }();
    if (!made)
        std::abort();
    return dir;
}

void BM_LoadAccounts(benchmark::State& state)
{
    const QString path = populated().filePath("accounts.json");
    for (auto _ : state) {
        // A server starting: a fresh store; its teardown is not counted.
        auto store = std::make_unique<AccountStore>(path, HashCost{1, HashCost::kMinMemoryKiB});
        QString error;
        if (!store->load(&error) || store->accounts().size() != kAccounts)
            state.SkipWithError("not loaded");
        benchmark::DoNotOptimize(store->find("pilot29999"));
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadAccounts)->Unit(benchmark::kMillisecond);

void BM_SaveAccounts(benchmark::State& state)
{
    AccountStore store(populated().filePath("accounts.json"), HashCost{1, HashCost::kMinMemoryKiB});
    QString error;
    store.load(&error);
    for (auto _ : state) {
        store.saveInBackground();
        store.flush();
    }
}
BENCHMARK(BM_SaveAccounts)->Unit(benchmark::kMillisecond);

void BM_HashPassword(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Credentials::derive("password1", HashCost{}));
}
BENCHMARK(BM_HashPassword)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
