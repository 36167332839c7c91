#pragma once
// The real main window in a fresh working directory, for the benchmarks that
// run elements through it. Confirmations are answered yes.

#include <functional>
#include <memory>

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include "shell/mainform.h"

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
