#pragma once
// Runs a real main window in a fresh temporary working directory, with its
// message boxes and confirmations answered by the test.

#include <memory>
#include <vector>

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/mainform.h"
#include "support/common.h"
#include "support/map_tiles.h"
#include "widgets/textpane.h"

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousDir = QDir::currentPath();
        ASSERT_TRUE(tempDir.isValid() && QDir::setCurrent(tempDir.path()));
        // The map's tile strip, which the run directory always holds.
        ASSERT_TRUE(WriteMapTiles("links.bmp"));
    }
    void TearDown() override
    {
        window.reset();
        QDir::setCurrent(previousDir);
    }

    // Creates the window (after the test has prepared the working directory).
    TMainForm& Window()
    {
        if (!window) {
            window = std::make_unique<TMainForm>();
            window->SetMessageHook(
                [this](MessageKind kind, const QString& text) { messages.emplace_back(kind, text); });
            // Closing asks first; the player says yes.
            window->SetConfirmHook([](const QString&) { return true; });
        }
        return *window;
    }
    QString WorkPath(const QString& name) const { return QDir(tempDir.path()).filePath(name); }
    // The window's menu item with this object name.
    QAction* Item(const char* name) { return Control<QAction>(&Window(), name); }
    // Waits until the connection's status panel shows `text`.
    bool WaitStatus(const char* text)
    {
        return QTest::qWaitFor([&] { return Window().StatusPanels[0]->text() == text; });
    }
    static QStringList PaneLines(const TextPane* pane) { return pane->Lines(); }

    QTemporaryDir tempDir;
    QString previousDir;
    std::unique_ptr<TMainForm> window;
    std::vector<std::pair<MessageKind, QString>> messages;
};
