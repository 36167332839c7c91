#pragma once
// Runs a real main window in a fresh temporary working directory, with its
// message boxes and confirmations answered by the test.

#include <memory>
#include <vector>

#include <QDir>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/mainform.h"
#include "widgets/textpane.h"

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousDir = QDir::currentPath();
        ASSERT_TRUE(tempDir.isValid() && QDir::setCurrent(tempDir.path()));
        // The map's tile strip, which the run directory always holds.
        ASSERT_TRUE(QImage(128, 16, QImage::Format_RGB32).save("links.bmp", "BMP"));
    }
    void TearDown() override
    {
        confirmAnswer = true;
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
            window->SetConfirmHook([this](const QString& text) {
                confirmations.push_back(text);
                return confirmAnswer;
            });
        }
        return *window;
    }
    QString WorkPath(const QString& name) const { return QDir(tempDir.path()).filePath(name); }
    static QStringList PaneLines(const TextPane* pane) { return pane->Lines(); }

    QTemporaryDir tempDir;
    QString previousDir;
    std::unique_ptr<TMainForm> window;
    std::vector<std::pair<MessageKind, QString>> messages;
    std::vector<QString> confirmations;
    bool confirmAnswer = true;
};
