#pragma once
// The status panels on the main window's controls: the page views over the
// named widgets, the timers, grid and history clicks and the two menu items.
// The window builds and places the controls; this gives them their
// behaviour.

#include <memory>

#include <QObject>

#include "panels/panels.h"

class MainView;
class QWidget;

class PanelWidgets : public QObject {
public:
    // Finds the controls by their names among the window's children.
    PanelWidgets(QWidget& window, MainView& view);
    ~PanelWidgets() override;

    Panels& Logic() { return *panels; }

    // The ticker is wider than its panel: centred, both ends are hidden.
    void CentreTicker();

private:
    class StatsPage;
    class ExchangePage;
    class Lights;

    void Connect(QWidget& window);
    void LightsItemClick(bool checked);
    void StatsItemClick(bool checked);

    MainView& view;
    std::unique_ptr<StatsPage> scorePage;
    std::unique_ptr<StatsPage> shipPage;
    std::unique_ptr<ExchangePage> exchangePage;
    std::unique_ptr<Lights> lights;
    std::unique_ptr<Panels> panels;
};
