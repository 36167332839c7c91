#pragma once
// Ctrl+F on a page that shows a text pane opens that pane's find bar; on
// other pages it does nothing.

#include <map>
#include <utility>
#include <vector>

#include <QObject>

class FindBar;
class QTabWidget;
class QWidget;
class TextPane;

class PageFind : public QObject {
    Q_OBJECT
public:
    // `panes` pairs a page of `pages` with the pane searched there.
    PageFind(QWidget* window, QTabWidget* pages, const std::vector<std::pair<QWidget*, TextPane*>>& panes);

    // The bar of the current page's pane, opened; null on other pages.
    FindBar* OpenForCurrentPage();

private:
    QTabWidget* pages;
    std::map<QWidget*, FindBar*> bars;
};
