#pragma once
// The window's side of the logging: the two File menu items it enables,
// the file dialog, and the story page's text.

#include <QPointer>

#include "logging/session_log.h"

class QAction;
class QWidget;
class TextPane;

class WindowLogMenu : public LogMenuView {
public:
    WindowLogMenu(QWidget* window, QAction* startItem, QAction* stopItem, const TextPane* story);

    void SetLoggingItems(bool startEnabled, bool stopEnabled) override;
    // Any name is accepted; a new one creates the file. Default suffix "log".
    std::optional<std::string> ChooseLogFile(const std::string& title, const std::string& folder) override;
    // In Windows-1252, as the log is.
    std::string StoryText() const override;

private:
    QPointer<QWidget> window;
    QPointer<QAction> startItem;
    QPointer<QAction> stopItem;
    const TextPane* story;
};
