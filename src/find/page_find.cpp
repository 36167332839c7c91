#include "find/page_find.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>

#include "widgets/find_bar.h"
#include "widgets/textpane.h"

PageFind::PageFind(QWidget* window, QTabWidget* pages, const std::vector<std::pair<QWidget*, TextPane*>>& panes)
    : QObject(window)
    , pages(pages)
{
    for (const auto& [page, pane] : panes)
        bars[page] = new FindBar(pane, *pane);
    auto* shortcut = new QShortcut(QKeySequence::Find, window);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] { OpenForCurrentPage(); });
}

FindBar* PageFind::OpenForCurrentPage()
{
    const auto it = bars.find(pages->currentWidget());
    if (it == bars.end())
        return nullptr;
    it->second->Open();
    return it->second;
}
