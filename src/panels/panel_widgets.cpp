#include "panels/panel_widgets.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmapCache>
#include <QProgressBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include "base/ansi.h"
#include "views/mainview.h"

namespace {

template <typename W>
W* Control(QObject& window, const QString& name)
{
    W* control = window.findChild<W*>(name);
    Q_ASSERT_X(control, "PanelWidgets", qPrintable(name));
    return control;
}

QColor ButtonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

// Pictures are scaled into their frame; the same file is decoded only once.
void ShowPicture(QLabel* image, const std::string& path)
{
    const QString file = QString::fromStdString(path);
    const QString key
        = file + QLatin1Char('@') + QString::number(image->width()) + 'x' + QString::number(image->height());
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = QPixmap(file);
        if (!pixmap.isNull())
            pixmap = pixmap.scaled(image->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPixmapCache::insert(key, pixmap);
    }
    if (image->pixmap().cacheKey() != pixmap.cacheKey())
        image->setPixmap(pixmap);
}

void SetText(QLabel* label, const std::string& text)
{
    label->setText(FromAnsi(text));
}

} // namespace

class PanelWidgets::StatsPage : public StatsPageView {
public:
    StatsPage(QObject& w, const char* image, const char* heading, const char* subheading, const char* grid,
        const char* box, const char* bar)
        : image(Control<QLabel>(w, image))
        , heading(Control<QLabel>(w, heading))
        , subheading(subheading ? Control<QLabel>(w, subheading) : nullptr)
        , grid(Control<QTableWidget>(w, grid))
        , box(Control<QGroupBox>(w, box))
        , bar(Control<QProgressBar>(w, bar))
    {
        for (QLabel* label : {this->heading, this->subheading})
            if (label)
                label->setTextFormat(Qt::PlainText);
        // Like any string grid, one cell is always current.
        this->grid->setCurrentCell(0, 0);
    }

    void SetRow(int row, const std::string& label, const std::string& value) override
    {
        SetCell(row, 0, label);
        SetCell(row, 1, value);
    }
    int SelectedRow() const override { return grid->currentRow(); }
    void ShowBar(const std::string& caption, int position, BarColour colour) override
    {
        box->setTitle(FromAnsi(caption));
        // A progress bar repaints itself at once when its value changes; a
        // burst of figures paints it once, when the loop is idle.
        bar->setUpdatesEnabled(false);
        bar->setValue(position);
        bar->setUpdatesEnabled(true);
        const QColor brush = colour == BarColour::Red ? QColor(Qt::red)
            : colour == BarColour::Yellow             ? QColor(Qt::yellow)
                                                      : ButtonFace();
        if (bar->palette().color(QPalette::Highlight) == brush)
            return;
        QPalette p = bar->palette();
        p.setColor(QPalette::Highlight, brush);
        // The percentage stays readable over every colour.
        p.setColor(QPalette::HighlightedText, p.color(QPalette::WindowText));
        bar->setPalette(p);
    }
    void SetHeading(const std::string& text) override { SetText(heading, text); }
    void SetSubheading(const std::string& text) override
    {
        if (subheading)
            SetText(subheading, text);
    }
    void LoadPicture(const std::string& path) override { ShowPicture(image, path); }

    QTableWidget* Grid() const { return grid; }
    std::string SelectedLabel() const
    {
        const QTableWidgetItem* item = grid->item(grid->currentRow(), 0);
        return item ? ToAnsi(item->text()) : std::string();
    }

private:
    void SetCell(int row, int column, const std::string& text)
    {
        QTableWidgetItem* item = grid->item(row, column);
        if (!item) {
            if (text.empty())
                return;
            item = new QTableWidgetItem;
            grid->setItem(row, column, item);
        }
        item->setText(FromAnsi(text));
    }

    QLabel* image;
    QLabel* heading;
    QLabel* subheading;
    QTableWidget* grid;
    QGroupBox* box;
    QProgressBar* bar;
};

class PanelWidgets::ExchangePage : public ExchangeView {
public:
    explicit ExchangePage(QObject& w)
        : notebook(Control<QTabWidget>(w, "TopNotebook"))
        , tab(Control<QWidget>(w, "ExchTab"))
        , group(Control<QGroupBox>(w, "LastExchGroup"))
        , name(Control<QLabel>(w, "CommodNameLabel"))
        , line1(Control<QLabel>(w, "CommodLabel1"))
        , line2(Control<QLabel>(w, "CommodLabel2"))
        , image(Control<QLabel>(w, "ExchImage"))
        , tickerPanel(Control<QWidget>(w, "TickerPanel"))
        , ticker(Control<QLabel>(w, "TickerEdit"))
        , history(Control<QListWidget>(w, "HistoryListBox"))
        , timer(Control<QTimer>(w, "TickerTimer"))
    {
        for (QLabel* label : {name, line1, line2, ticker})
            label->setTextFormat(Qt::PlainText);
    }

    void SetTickerText(const std::string& text) override
    {
        // The line shows far fewer characters than a busy run can hold.
        constexpr std::size_t kShown = 256;
        ticker->setText(FromAnsi(std::string_view(text).substr(0, kShown)));
    }
    void StartTickerTimer() override { timer->start(); }
    void StopTickerTimer() override { timer->stop(); }
    void ShowExchangePage() override { notebook->setCurrentWidget(tab); }
    void SetExchangeCaption(const std::string& text) override { group->setTitle(FromAnsi(text)); }
    void SetCommodity(const std::string& n, const std::string& l1, const std::string& l2) override
    {
        SetText(name, n);
        SetText(line1, l1);
        SetText(line2, l2);
    }
    void LoadExchangePicture(const std::string& path) override { ShowPicture(image, path); }
    void InsertHistoryLine(const std::string& text) override { history->insertItem(0, FromAnsi(text)); }
    void RemoveHistoryLine(int index) override { delete history->takeItem(index); }
    void ClearHistory() override { history->clear(); }
    void SetHistoryHint(const std::string& text) override { history->setToolTip(FromAnsi(text)); }

    void Centre() { ticker->move((tickerPanel->width() - ticker->width()) / 2, ticker->y()); }

    QTabWidget* notebook;
    QWidget* tab;
    QGroupBox* group;
    QLabel* name;
    QLabel* line1;
    QLabel* line2;
    QLabel* image;
    QWidget* tickerPanel;
    QLabel* ticker;
    QListWidget* history;
    QTimer* timer;
};

class PanelWidgets::Lights : public LightsView {
public:
    explicit Lights(QObject& w)
        : timer(Control<QTimer>(w, "TwinkleTimer"))
    {
        for (int i = 0; i < Twinkles::kLights; ++i)
            lights[i] = Control<QWidget>(w, QStringLiteral("T%1").arg(i));
    }

    void SetLight(int index, LightColour colour) override
    {
        Paint(lights[index], QColor(colour.red, colour.green, colour.blue));
    }
    void ResetLights() override
    {
        for (QWidget* light : lights)
            Paint(light, ButtonFace());
    }
    void StartTwinkleTimer() override { timer->start(); }
    void StopTwinkleTimer() override { timer->stop(); }

    QTimer* timer;

private:
    static void Paint(QWidget* light, const QColor& colour)
    {
        QPalette p = light->palette();
        if (p.color(QPalette::Window) == colour)
            return;
        p.setColor(QPalette::Window, colour);
        light->setPalette(p);
    }

    QWidget* lights[Twinkles::kLights] = {};
};

PanelWidgets::PanelWidgets(QWidget& window, MainView& v)
    : view(v)
    , scorePage(std::make_unique<StatsPage>(
          window, "ScoreImage", "NameLabel", "RankLabel", "StatsGrid", "StatBox", "StatBar"))
    , shipPage(
          std::make_unique<StatsPage>(window, "ShipImage", "ClassLabel", nullptr, "ShipGrid", "ShipBox", "ShipBar"))
    , exchangePage(std::make_unique<ExchangePage>(window))
    , lights(std::make_unique<Lights>(window))
    , panels(std::make_unique<Panels>(v, *scorePage, *shipPage, *exchangePage, *lights))
{
    Connect(window);
}

PanelWidgets::~PanelWidgets() = default;

void PanelWidgets::Connect(QWidget& window)
{
    for (StatsPage* page : {scorePage.get(), shipPage.get()}) {
        auto select = [this, page] {
            const std::string label = page->SelectedLabel();
            if (page == scorePage.get())
                panels->SelectStat(label);
            else
                panels->SelectShipStat(label);
        };
        // A click, or the arrow keys moving the selection.
        connect(page->Grid(), &QTableWidget::cellClicked, this, select);
        connect(page->Grid(), &QTableWidget::currentCellChanged, this, select);
    }

    Exchange& exchange = panels->GetExchange();
    QListWidget* history = exchangePage->history;
    connect(history, &QListWidget::itemClicked, this, [&exchange](QListWidgetItem* item) {
        if (item && item->isSelected())
            exchange.HistoryListBoxClick(ToAnsi(item->text()));
    });
    connect(history, &QListWidget::itemDoubleClicked, this, [&exchange](QListWidgetItem* item) {
        if (item && item->isSelected())
            exchange.TradeFromHistory(ToAnsi(item->text()));
    });
    connect(exchangePage->timer, &QTimer::timeout, this, [&exchange] { exchange.GetTicker().TickerTimerTimer(); });
    connect(exchangePage->notebook, &QTabWidget::currentChanged, this, [this] {
        if (exchangePage->notebook->currentWidget() == exchangePage->tab)
            CentreTicker();
    });

    connect(lights->timer, &QTimer::timeout, this, [this] { panels->GetTwinkles().TwinkleTimerTimer(); });
    connect(Control<QAction>(window, "LightsItem"), &QAction::triggered, this, &PanelWidgets::LightsItemClick);
    connect(Control<QAction>(window, "StatsItem"), &QAction::triggered, this, &PanelWidgets::StatsItemClick);
}

void PanelWidgets::CentreTicker()
{
    exchangePage->Centre();
}

void PanelWidgets::LightsItemClick(bool checked)
{
    panels->GetTwinkles().LightsItemClick(checked);
}

void PanelWidgets::StatsItemClick(bool checked)
{
    view.ShowStatsPanel(checked);
}
