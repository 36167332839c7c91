#include "support/window_fixture.h"

#include <QImage>

void WindowFixture::SetUp()
{
    ASSERT_TRUE(tempDir.isValid());
    previousDir = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tempDir.path()));
    // The map's tile strip, which the run directory always holds.
    ASSERT_TRUE(QImage(128, 16, QImage::Format_RGB32).save("links.bmp", "BMP"));
}

void WindowFixture::TearDown()
{
    if (window) {
        confirmAnswer = true;
        window.reset();
    }
    QDir::setCurrent(previousDir);
}

TMainForm& WindowFixture::Window()
{
    if (!window) {
        window = std::make_unique<TMainForm>();
        window->SetMessageHook([this](MessageKind kind, const QString& text) {
            messages.emplace_back(kind, text);
        });
        window->SetConfirmHook([this](const QString& text) {
            confirmations.push_back(text);
            return confirmAnswer;
        });
    }
    return *window;
}
