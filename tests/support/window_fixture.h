#pragma once
// Runs a real main window in a fresh temporary working directory, with its
// message boxes answered by the test.

#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "shell/mainform.h"
#include "shell/textpane.h"

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window (after the test has prepared the working directory).
    TMainForm& Window();
    QString WorkPath(const QString& name) const { return QDir(tempDir.path()).filePath(name); }

    static QStringList PaneLines(const TextPane* pane) { return pane->Lines(); }

    QTemporaryDir tempDir;
    QString previousDir;
    std::unique_ptr<TMainForm> window;
    std::vector<std::pair<MessageKind, QString>> messages;
    std::vector<QString> confirmations;
    bool confirmAnswer = true;
};
