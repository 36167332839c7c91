#pragma once
// Makes a fresh temporary directory the current one for a test's lifetime,
// with the pictures and sounds folders the program reads.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class ScopedWorkDir {
public:
    ScopedWorkDir()
        : previous(QDir::currentPath())
    {
        EXPECT_TRUE(dir.isValid() && QDir::setCurrent(dir.path()));
        EXPECT_TRUE(QDir().mkpath("pictures") && QDir().mkpath("sounds"));
    }
    ~ScopedWorkDir() { QDir::setCurrent(previous); }
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

    std::string Path() const { return dir.path().toStdString(); }
    // An empty file, relative to the directory.
    static void Touch(const QString& path)
    {
        EXPECT_TRUE(QFile(path).open(QIODevice::WriteOnly)) << path.toStdString();
    }

private:
    QTemporaryDir dir;
    QString previous;
};
