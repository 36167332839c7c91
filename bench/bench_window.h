#pragma once
// The real main window in a fresh working directory, for the benchmarks that
// run elements through it. Confirmations are answered yes.

#include <cstdlib>
#include <functional>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "app/mainform.h"

// A fresh working directory for a benchmark's lifetime. `prepare` runs in it
// first, to lay down the files the program reads.
struct BenchWorkDir {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();

    explicit BenchWorkDir(const std::function<void()>& prepare = {})
    {
        QDir::setCurrent(dir.path());
        if (prepare)
            prepare();
    }
    ~BenchWorkDir() { QDir::setCurrent(previous); }
    BenchWorkDir(const BenchWorkDir&) = delete;
    BenchWorkDir& operator=(const BenchWorkDir&) = delete;
};

struct BenchWindow {
    BenchWorkDir place;
    std::unique_ptr<TMainForm> form;

    explicit BenchWindow(const std::function<void()>& prepare = {})
        : place(prepare)
        , form(std::make_unique<TMainForm>())
    {
        form->SetConfirmHook([](const QString&) { return true; });
    }
};

// The main of a benchmark that needs widgets: offscreen unless told otherwise.
inline int RunWindowBenchmarks(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
