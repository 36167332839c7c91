// The main window's controls and menus, built in code with their names.
#include "app/mainform.h"

#include <QAction>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "logging/session_log.h"
#include "base/addresses.h"
#include "session/coms.h"
#include "widgets/textpane.h"

namespace {

template <typename W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* PanelLabel(const char* name, const QString& caption)
{
    auto* label = Named(new QLabel(caption), name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    return label;
}

QTableWidget* StringGrid(const char* name, int columns, int rows)
{
    auto* grid = Named(new QTableWidget(rows, columns), name);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The cells fill the grid: the value column takes the width left, the
    // grid is as tall as its rows.
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setFixedHeight(rows * grid->verticalHeader()->defaultSectionSize() + 2 * grid->frameWidth());
    return grid;
}

// A gauge's bar in its box. The box keeps the height it has with a caption
// and the bar sits at its foot, so showing or clearing the caption (which
// every figure may do) neither moves the bar nor lays the page out again.
QGroupBox* GaugeBox(const char* name, const char* barName, QProgressBar*& bar)
{
    auto* box = Named(new QGroupBox, name);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(2, 2, 2, 2);
    bar = Named(new QProgressBar, barName);
    bar->setRange(0, 100);
    bar->setValue(0);
    layout->addWidget(bar, 0, Qt::AlignBottom);
    box->setTitle(QStringLiteral("X"));
    box->setMinimumHeight(box->sizeHint().height());
    box->setTitle({});
    return box;
}

// A page that scrolls when the window is too short to show it whole, as on
// a small or highly scaled screen.
QScrollArea* Scrolled(QWidget* page)
{
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidget(page);
    return area;
}

} // namespace

// ---------------------------------------------------------------- layout

void TMainForm::BuildUi()
{
    BuildMenus();

    auto* central = new QWidget;
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* Panel1 = Named(new QWidget, "Panel1");
    Panel1->setFixedHeight(184);
    auto* top = new QHBoxLayout(Panel1);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(2);
    top->addWidget(BuildTopStrip(), 1);

    ImagePanel = Named(new QFrame, "ImagePanel");
    ImagePanel->setFixedSize(176, 176);
    ImagePanel->setFrameShape(QFrame::Panel);
    ImagePanel->setFrameShadow(QFrame::Sunken);
    auto* imageLayout = new QGridLayout(ImagePanel);
    imageLayout->setContentsMargins(1, 1, 1, 1);
    MapImage = Named(new QLabel, "MapImage");
    MapImage->setAlignment(Qt::AlignCenter);
    DetailGrid = new TileGrid("DetailGrid", "Detail map");
    DetailGrid->setFixedSize(172, 172);
    DetailGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DetailGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DetailGrid->hide();
    imageLayout->addWidget(MapImage, 0, 0);
    imageLayout->addWidget(DetailGrid, 0, 0);
    top->addWidget(ImagePanel, 0, Qt::AlignTop);
    outer->addWidget(Panel1);

    auto* lower = new QHBoxLayout;
    lower->setContentsMargins(0, 0, 0, 0);
    lower->setSpacing(2);

    auto* MainRightPanel = Named(new QWidget, "MainRightPanel");
    auto* rightLayout = new QVBoxLayout(MainRightPanel);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    MainNotebook = Named(new QTabWidget, "MainNotebook");
    MainNotebook->setTabPosition(QTabWidget::South);
    MainNotebook->addTab(BuildMainTab(), "Main");
    MainNotebook->addTab(BuildMapTab(), "Map");
    StoryMemo = new TextPane("StoryMemo");
    MainNotebook->addTab(StoryMemo, "Story");
    ScrollBackMemo = new TextPane("ScrollBackMemo");
    MainNotebook->addTab(ScrollBackMemo, "Scrollback");
    rightLayout->addWidget(MainNotebook);
    lower->addWidget(MainRightPanel, 1);
    lower->addWidget(BuildRightColumn());
    outer->addLayout(lower, 1);
    setCentralWidget(central);

    auto* bar = Named(new QStatusBar, "StatusBar");
    bar->setFixedHeight(32);
    bar->setSizeGripEnabled(false);
    const int widths[4] = {120, 150, 140, 450};
    for (int i = 0; i < 4; ++i) {
        StatusPanels[i] = PanelLabel(QString("StatusPanel%1").arg(i).toLatin1().constData(), {});
        StatusPanels[i]->setFixedWidth(widths[i]);
    }
    // The map's panel gives way on a narrow screen rather than widening the window.
    StatusPanels[3]->setMinimumWidth(120);
    for (int i = 0; i < 4; ++i)
        bar->addWidget(StatusPanels[i], i == 3 ? 1 : 0);
    StatusPanels[0]->setText("Offline");
    setStatusBar(bar);

    TwinkleTimer = Named(new QTimer(this), "TwinkleTimer");
    TwinkleTimer->setInterval(200);
    TickerTimer = Named(new QTimer(this), "TickerTimer");
    TickerTimer->setInterval(50);

    cliSocket = Named(new QTcpSocket(this), "CliSocket");
    connect(cliSocket, &QTcpSocket::connected, this, &TMainForm::CliSocketConnect);
    connect(cliSocket, &QTcpSocket::disconnected, this, &TMainForm::CliSocketDisconnect);
    connect(cliSocket, &QTcpSocket::readyRead, this, &TMainForm::CliSocketRead);
    connect(cliSocket, &QTcpSocket::errorOccurred, this, &TMainForm::CliSocketError);

    connect(MainNotebook, &QTabWidget::currentChanged, this, &TMainForm::MainNotebookChange);
    InputEdit->setFocus();
}

QWidget* TMainForm::BuildTopStrip()
{
    auto* strip = new QWidget;
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto* ContentPanel = Named(new QWidget, "ContentPanel");
    ContentPanel->setFixedWidth(210);
    auto* contentLayout = new QVBoxLayout(ContentPanel);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    ContentsNotebook = Named(new QTabWidget, "ContentsNotebook");
    ContentsNotebook->setTabPosition(QTabWidget::East);
    LocListBox = Named(new QListWidget, "LocListBox");
    ContentsNotebook->addTab(LocListBox, "Location");
    contentLayout->addWidget(ContentsNotebook);
    layout->addWidget(ContentPanel);
    connect(LocListBox, &QListWidget::itemDoubleClicked, this, [this] { LocListBoxDblClick(); });

    TopNotebook = Named(new QTabWidget, "TopNotebook");
    TopNotebook->setTabPosition(QTabWidget::East);

    // Examine and spynet reports.
    ExSpTab = Named(new QWidget, "ExSpTab");
    {
        auto* l = new QHBoxLayout(ExSpTab);
        l->setContentsMargins(2, 2, 2, 2);
        SpynetImage = Named(new QLabel, "SpynetImage");
        SpynetImage->setFixedSize(100, 100);
        SpynetImage->setFrameShape(QFrame::Panel);
        SpynetImage->setFrameShadow(QFrame::Sunken);
        SpynetImage->setAlignment(Qt::AlignCenter);
        auto* col = new QVBoxLayout;
        SpynetNamePanel = PanelLabel("SpynetNamePanel", {});
        SpynetNamePanel->setFixedHeight(22);
        SpynetOutput = new TextPane("SpynetOutput");
        col->addWidget(SpynetNamePanel);
        col->addWidget(SpynetOutput, 1);
        l->addWidget(SpynetImage, 0, Qt::AlignTop);
        l->addLayout(col, 1);
    }
    TopNotebook->addTab(ExSpTab, "Ex/SP");

    // The commodity exchange.
    ExchTab = Named(new QWidget, "ExchTab");
    {
        auto* l = new QHBoxLayout(ExchTab);
        l->setContentsMargins(2, 0, 2, 2);
        LastExchGroup = Named(new QGroupBox(" No Exchange "), "LastExchGroup");
        auto* g = new QGridLayout(LastExchGroup);
        g->setContentsMargins(4, 2, 4, 2);
        LastCommodPanel = Named(new QFrame, "LastCommodPanel");
        LastCommodPanel->setAutoFillBackground(true);
        LastCommodPanel->setFrameShape(QFrame::Panel);
        LastCommodPanel->setFrameShadow(QFrame::Sunken);
        auto* lc = new QVBoxLayout(LastCommodPanel);
        lc->setContentsMargins(1, 1, 1, 1);
        lc->setSpacing(0);
        QFont bold = font();
        bold.setBold(true);
        CommodNameLabel = Named(new QLabel, "CommodNameLabel");
        QFont underlined = bold;
        underlined.setUnderline(true);
        CommodNameLabel->setFont(underlined);
        CommodLabel1 = Named(new QLabel, "CommodLabel1");
        CommodLabel2 = Named(new QLabel, "CommodLabel2");
        for (QLabel* label : {CommodNameLabel, CommodLabel1, CommodLabel2}) {
            label->setAlignment(Qt::AlignCenter);
            lc->addWidget(label);
        }
        CommodLabel1->setFont(bold);
        CommodLabel2->setFont(bold);
        ExchImage = Named(new QLabel, "ExchImage");
        ExchImage->setFixedSize(100, 60);
        ExchImage->setAlignment(Qt::AlignCenter);
        TickerPanel = Named(new QFrame, "TickerPanel");
        TickerPanel->setFrameShape(QFrame::Panel);
        TickerPanel->setFrameShadow(QFrame::Sunken);
        TickerPanel->setFixedHeight(24);
        // The ticker is wider than its panel and slides inside it.
        TickerEdit = Named(new QLabel(QString(74, QLatin1Char(' ')), TickerPanel), "TickerEdit");
        TickerEdit->setFont(bold);
        TickerEdit->setAutoFillBackground(true);
        TickerEdit->setGeometry(0, 2, 574, 20);
        // Pages that are not showing get their size late: centre on every resize.
        TickerPanel->installEventFilter(this);

        auto* history = new QGroupBox(" Exchange History ");
        history->setObjectName("HistoryGroup");
        auto* h = new QVBoxLayout(history);
        h->setContentsMargins(2, 2, 2, 2);
        HistoryListBox = Named(new QListWidget, "HistoryListBox");
        HistoryListBox->setToolTip("Double click on an entry to buy or sell that commodity");
        h->addWidget(HistoryListBox);

        // The picture stands over the last quote, which keeps one width
        // whatever it says so the history beside it does not jump; the
        // history takes the rest of the page and the ticker runs under both.
        LastCommodPanel->setFixedWidth(QFontMetrics(bold).horizontalAdvance("Exch sells at 9999/ton") + 8);
        g->setSpacing(2);
        g->addWidget(ExchImage, 0, 0, Qt::AlignHCenter);
        g->addWidget(LastCommodPanel, 1, 0);
        g->addWidget(history, 0, 1, 2, 1);
        g->setColumnStretch(1, 1);
        g->addWidget(TickerPanel, 2, 0, 1, 2);
        l->addWidget(LastExchGroup, 1);
    }
    TopNotebook->addTab(ExchTab, "Exch");

    // Tight beam.
    PrivateTab = Named(new QWidget, "PrivateTab");
    {
        auto* l = new QHBoxLayout(PrivateTab);
        l->setContentsMargins(2, 2, 2, 2);
        auto* left = new QVBoxLayout;
        TBImage = Named(new QLabel, "TBImage");
        TBImage->setFixedSize(80, 96);
        TBImage->setFrameShape(QFrame::Panel);
        TBImage->setFrameShadow(QFrame::Sunken);
        TBImage->setAlignment(Qt::AlignCenter);
        TBEndBtn = Named(new QPushButton("End TB"), "TBEndBtn");
        QFont endFont("Arial");
        endFont.setBold(true);
        endFont.setItalic(true);
        TBEndBtn->setFont(endFont);
        connect(TBEndBtn, &QPushButton::clicked, this, [this] { tightBeam->Close(); });
        left->addWidget(TBImage);
        left->addWidget(TBEndBtn);
        left->addStretch();
        auto* right = new QVBoxLayout;
        TBNamePanel = PanelLabel("TBNamePanel", "Connection not yet initiated");
        TBNamePanel->setFixedHeight(22);
        TBMemo = new TextPane("TBMemo");
        right->addWidget(TBNamePanel);
        right->addWidget(TBMemo, 1);
        l->addLayout(left);
        l->addLayout(right, 1);
    }
    TopNotebook->addTab(PrivateTab, "TB");

    layout->addWidget(TopNotebook, 1);
    return strip;
}

QWidget* TMainForm::BuildRightColumn()
{
    auto* MainLeftPanel = Named(new QWidget, "MainLeftPanel");
    MainLeftPanel->setFixedWidth(176);
    auto* l = new QVBoxLayout(MainLeftPanel);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);

    auto* MoveBtnPanel = Named(new QFrame, "MoveBtnPanel");
    MoveBtnPanel->setFrameShape(QFrame::Panel);
    MoveBtnPanel->setFrameShadow(QFrame::Raised);
    auto* g = new QGridLayout(MoveBtnPanel);
    g->setContentsMargins(3, 3, 3, 3);
    g->setSpacing(2);
    struct Dir {
        const char* name;
        const char* arrow;
        const char* hint;
        int row, col, tag;
    };
    const Dir dirs[] = {
        {"NWMoveBtn", "\u2196", "Move North-West", 0, 2, 3},
        {"NMoveBtn", "\u2191", "Move North", 0, 3, 5},
        {"NEMoveBtn", "\u2197", "Move North-East", 0, 4, 0},
        {"WMoveBtn", "\u2190", "Move West", 1, 2, 4},
        {"EMoveBtn", "\u2192", "Move East", 1, 4, 6},
        {"SWMoveBtn", "\u2199", "Move South-West", 2, 2, 2},
        {"SMoveBtn", "\u2193", "Move South", 2, 3, 7},
        {"SEMoveBtn", "\u2198", "Move South-East", 2, 4, 1},
    };
    for (const Dir& d : dirs) {
        auto* b = Named(new QToolButton, d.name);
        b->setText(QString::fromUtf8(d.arrow));
        b->setToolTip(d.hint);
        b->setProperty("tag", d.tag);
        b->setFixedSize(30, 26);
        g->addWidget(b, d.row, d.col);
    }
    BoardBtn = Named(new QToolButton, "BoardBtn");
    BoardBtn->setText("B");
    QFont boardFont = BoardBtn->font();
    boardFont.setBold(true);
    boardFont.setItalic(true);
    BoardBtn->setFont(boardFont);
    BoardBtn->setFixedSize(30, 26);
    g->addWidget(BoardBtn, 1, 3);
    UpBtn = Named(new QToolButton, "UpBtn");
    UpBtn->setText("Up");
    UpBtn->setToolTip("Move Up");
    UpBtn->setFixedSize(26, 82);
    g->addWidget(UpBtn, 0, 0, 3, 1);
    DownBtn = Named(new QToolButton, "DownBtn");
    DownBtn->setText("Dn");
    DownBtn->setToolTip("Move Down");
    DownBtn->setFixedSize(26, 82);
    g->addWidget(DownBtn, 0, 6, 3, 1);
    CommandBtn = Named(new QPushButton("Command"), "CommandBtn");
    connect(CommandBtn, &QPushButton::clicked, this, &TMainForm::CommandBtnClick);
    g->addWidget(CommandBtn, 3, 0, 1, 7);
    l->addWidget(MoveBtnPanel);

    PlayersNotebook = Named(new QTabWidget, "PlayersNotebook");
    PlayersNotebook->setTabPosition(QTabWidget::East);
    PlayerListBox = Named(new QListWidget, "PlayerListBox");
    FriendsListBox = Named(new QListWidget, "FriendsListBox");
    PlayersNotebook->addTab(PlayerListBox, "Players");
    PlayersNotebook->addTab(FriendsListBox, "Friends");
    for (QListWidget* list : {PlayerListBox, FriendsListBox}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& pos) {
            if (QListWidgetItem* item = list->itemAt(pos))
                list->setCurrentItem(item);
            PlayerPopup->popup(list->viewport()->mapToGlobal(pos));
        });
    }
    connect(PlayerListBox, &QListWidget::itemDoubleClicked, this, [this] { PlayerListBoxDblClick(); });
    // Both tabs stay in view however short the window.
    PlayersNotebook->setMinimumHeight(PlayersNotebook->tabBar()->sizeHint().height());
    l->addWidget(PlayersNotebook, 1);
    return MainLeftPanel;
}

QWidget* TMainForm::BuildScorePage()
{
    auto* page = new QWidget;
    auto* l = new QVBoxLayout(page);
    l->setContentsMargins(2, 2, 2, 2);
    l->setSpacing(2);
    ScoreImage = Named(new QLabel, "ScoreImage");
    ScoreImage->setFixedSize(80, 96);
    ScoreImage->setAlignment(Qt::AlignCenter);
    NameLabel = Named(new QLabel, "NameLabel");
    RankLabel = Named(new QLabel, "RankLabel");
    auto* head = new QHBoxLayout;
    auto* names = new QVBoxLayout;
    names->addWidget(NameLabel);
    names->addWidget(RankLabel);
    head->addWidget(ScoreImage);
    head->addLayout(names, 1);
    l->addLayout(head);
    StatsGrid = StringGrid("StatsGrid", 2, 8);
    l->addWidget(StatsGrid);
    l->addWidget(GaugeBox("StatBox", "StatBar", StatBar));
    l->addStretch(1);
    return page;
}

QWidget* TMainForm::BuildShipPage()
{
    auto* page = new QWidget;
    auto* l = new QVBoxLayout(page);
    l->setContentsMargins(2, 2, 2, 2);
    l->setSpacing(2);
    ShipImage = Named(new QLabel, "ShipImage");
    ShipImage->setFixedSize(148, 96);
    ShipImage->setAlignment(Qt::AlignCenter);
    l->addWidget(ShipImage, 0, Qt::AlignHCenter);
    // Ten lights of 12 x 12, 15 pixels apart, between the picture and the class.
    TwinkPanel = Named(new QFrame, "TwinkPanel");
    TwinkPanel->setFixedSize(153, 18);
    for (int i = 0; i < 10; ++i) {
        auto* light = new QLabel(TwinkPanel);
        light->setObjectName(QString("T%1").arg(i));
        light->setGeometry(3 + 15 * i, 3, 12, 12);
        light->setAutoFillBackground(true);
        light->setFrameShape(QFrame::Box);
        light->setLineWidth(1);
    }
    l->addWidget(TwinkPanel, 0, Qt::AlignHCenter);
    ClassLabel = Named(new QLabel, "ClassLabel");
    ClassLabel->setAlignment(Qt::AlignCenter);
    l->addWidget(ClassLabel);
    ShipGrid = StringGrid("ShipGrid", 2, 8);
    l->addWidget(ShipGrid);
    l->addWidget(GaugeBox("ShipBox", "ShipBar", ShipBar));
    l->addStretch(1);
    return page;
}

QWidget* TMainForm::BuildMainTab()
{
    auto* page = Named(new QWidget, "MainTab");
    auto* l = new QHBoxLayout(page);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);

    StatsPanel = Named(new QWidget, "StatsPanel");
    StatsPanel->setFixedWidth(185);
    auto* s = new QVBoxLayout(StatsPanel);
    s->setContentsMargins(0, 0, 0, 0);
    StatsNoteBook = Named(new QTabWidget, "StatsNoteBook");
    StatsNoteBook->setTabPosition(QTabWidget::South);
    StatsNoteBook->addTab(Scrolled(BuildScorePage()), "Score");
    StatsNoteBook->addTab(Scrolled(BuildShipPage()), "Spaceship");
    s->addWidget(StatsNoteBook);
    l->addWidget(StatsPanel);

    MainSplitter = Named(new QSplitter(Qt::Vertical), "MainSplitter");
    OutputEdit = new TextPane("OutputEdit");
    InputPanel = Named(new QWidget, "InputPanel");
    auto* in = new QVBoxLayout(InputPanel);
    in->setContentsMargins(0, 0, 0, 0);
    InputEdit = new ::InputEdit;
    InputEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    InputEdit->setTabChangesFocus(true);
    in->addWidget(InputEdit);
    MainSplitter->addWidget(OutputEdit);
    MainSplitter->addWidget(InputPanel);
    MainSplitter->setStretchFactor(0, 1);
    MainSplitter->setStretchFactor(1, 0);
    MainSplitter->setChildrenCollapsible(false);
    MainSplitter->setSizes({500, 55});
    l->addWidget(MainSplitter, 1);
    return page;
}

QWidget* TMainForm::BuildMapTab()
{
    auto* page = Named(new QSplitter(Qt::Horizontal), "MapTab");
    auto* MapInfoPanel = Named(new QWidget, "MapInfoPanel");
    // 204 wide at start; the splitter beside it is the player's to drag.
    MapInfoPanel->setMinimumWidth(120);
    auto* l = new QVBoxLayout(MapInfoPanel);
    l->setContentsMargins(0, 0, 0, 0);
    // The player drags the memo/repeater boundary.
    auto* infoSplitter = Named(new QSplitter(Qt::Vertical), "MapInfoSplitter");
    MapMemo = new TextPane("MapMemo");
    MapRepeater = new TextPane("MapRepeater");
    infoSplitter->addWidget(MapMemo);
    infoSplitter->addWidget(MapRepeater);
    infoSplitter->setStretchFactor(0, 1);
    infoSplitter->setStretchFactor(1, 0);
    infoSplitter->setChildrenCollapsible(false);
    infoSplitter->setSizes({1000, 140});
    l->addWidget(infoSplitter);
    MapGrid = new TileGrid("MapGrid", "Map");
    page->addWidget(MapInfoPanel);
    page->addWidget(MapGrid);
    page->setStretchFactor(0, 0);
    page->setStretchFactor(1, 1);
    page->setChildrenCollapsible(false);
    page->setSizes({204, 10000});
    return page;
}

QAction* TMainForm::AddItem(QMenu* menu, const char* caption, const char* name, bool checkable, bool checked)
{
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(checkable);
    a->setChecked(checked);
    return a;
}

QAction* TMainForm::AddOptionItem(QMenu* menu, const char* caption, const char* name, Option option, bool checked)
{
    QAction* a = AddItem(menu, caption, name, true, checked);
    optionItems.at(static_cast<std::size_t>(option)) = a;
    return a;
}

void TMainForm::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu");

    QMenu* file = Named(bar->addMenu("&File"), "FileMenu");
    startLoggingItem = AddItem(file, "Start Logging...", "StartLoggingItem");
    connect(startLoggingItem, &QAction::triggered, this, [this] { sessionLog->StartLoggingItemClick(); });
    stopLoggingItem = AddItem(file, "Stop Logging", "StopLoggingItem");
    stopLoggingItem->setEnabled(false);
    connect(stopLoggingItem, &QAction::triggered, this, [this] { sessionLog->StopLoggingItemClick(); });
    QAction* autoLog = AddOptionItem(file, "Log all Sessions", "AutoLogItem", Option::AutoLog);
    // The handler decides from the check mark as it was before the click.
    connect(autoLog, &QAction::triggered, this, [this, autoLog](bool checked) {
        autoLog->setChecked(!checked);
        sessionLog->AutoLogItemClick();
    });
    file->addSeparator();
    connect(AddItem(file, "Save Screen Buffer...", "SaveScreenItem"), &QAction::triggered, this,
        [this] { sessionLog->SaveScreenItemClick(); });
    file->addSeparator();
    connect(AddItem(file, "Exit", "ExitItem"), &QAction::triggered, this, &QWidget::close);

    QMenu* edit = Named(bar->addMenu("&Edit"), "EditMenu");
    connect(AddItem(edit, "Copy", "CopyItem"), &QAction::triggered, this, &TMainForm::CopyItemClick);
    pasteItem = AddItem(edit, "Paste", "PasteItem");
    pasteItem->setEnabled(false);
    connect(pasteItem, &QAction::triggered, this, &TMainForm::PasteItemClick);
    connect(AddItem(edit, "Select All", "SelectAllItem"), &QAction::triggered, this, &TMainForm::SelectAllItemClick);

    QMenu* conn = Named(bar->addMenu("&Connect"), "ConnectMenu");
    logonItem = AddItem(conn, "Logon to Kyrn...", "LogonItem");
    connect(logonItem, &QAction::triggered, this, [this] { coms->StartLogon(); });
    newAccountItem = AddItem(conn, "New Account/Avatar...", "NewAccountAvatarItem");
    connect(newAccountItem, &QAction::triggered, this, [this] { coms->StartNewAccount(); });
    conn->addSeparator();
    logOffItem = AddItem(conn, "Log Off Kyrn", "LogOffItem");
    logOffItem->setEnabled(false);
    connect(logOffItem, &QAction::triggered, this, &TMainForm::LogOffItemClick);

    QMenu* options = Named(bar->addMenu("&Options"), "OptionsMenu");
    connect(AddItem(options, "F-Keys and Startup...", "FKeyStartUpItem"), &QAction::triggered, this,
        &TMainForm::FKeyStartUpItemClick);
    connect(
        AddItem(options, "Friends Set Up...", "Friendsitem"), &QAction::triggered, this, &TMainForm::FriendsitemClick);
    options->addSeparator();
    connect(
        AddItem(options, "Background Color...", "ColorItem"), &QAction::triggered, this, &TMainForm::ColorItemClick);
    connect(AddItem(options, "Fonts...", "FontsItem"), &QAction::triggered, this, &TMainForm::FontsItemClick);
    options->addSeparator();
    AddOptionItem(options, "Console Lights", "LightsItem", Option::ConsoleLights, true);
    AddOptionItem(options, "Stats Panel", "StatsItem", Option::StatsPanel, true);
    AddOptionItem(options, "Sound FX", "SoundItem", Option::SoundFx, true);
    options->addSeparator();
    AddOptionItem(options, "Incoming Text Alert", "TextAlertItem", Option::TextAlert);
    connect(AddOptionItem(options, "Large Text Buffer", "BufferSizeItem", Option::LargeBuffer), &QAction::triggered,
        this, &TMainForm::BufferSizeItemClick);
    AddOptionItem(options, "Suppress Blank Lines", "BlankLinesItem", Option::SuppressBlankLines);
    options->addSeparator();
    connect(AddItem(options, "Dump to Scrollback", "DumptoScrollItem"), &QAction::triggered, this,
        &TMainForm::DumptoScrollItemClick);

    QMenu* extras = Named(bar->addMenu("E&xtras"), "ExtrasMenu");
    connect(AddItem(extras, "Buy Extras", "ExtrasItem"), &QAction::triggered, this,
        [this] { OpenAddress(outsideAddresses.extrasPage); });
    extras->addSeparator();
    connect(AddItem(extras, "TMC Voting", "VotingItem"), &QAction::triggered, this, &TMainForm::VotingItemClick);

    QMenu* help = Named(bar->addMenu("&Help"), "HelpMenu");
    connect(AddItem(help, "Contact Feedback", "FeedbackItem"), &QAction::triggered, this,
        [this] { OpenAddress(outsideAddresses.feedback); });
    help->addSeparator();
    connect(AddItem(help, "Orvix Manual", "OrvixManual1"), &QAction::triggered, this,
        [this] { OpenManualPage(addresses::kOrvixManual); });
    connect(AddItem(help, "Game Manuals", "ManualsItem"), &QAction::triggered, this,
        [this] { OpenManualPage(addresses::kGameManuals); });
    connect(AddItem(help, "Maps", "MapsItem"), &QAction::triggered, this, [this] { OpenManualPage(addresses::kMaps); });
    connect(AddItem(help, "Quick Start", "QuickStartItem"), &QAction::triggered, this,
        [this] { OpenManualPage(addresses::kQuickStart); });
    help->addSeparator();
    AddOptionItem(help, "Display Client Stream", "DisplayClientStreamItem", Option::DisplayClientStream);
    AddOptionItem(help, "Display Server Stream", "DisplayServerStreamItem", Option::DisplayServerStream);
    help->addSeparator();
    connect(AddItem(help, "About...", "AboutItem"), &QAction::triggered, this, &TMainForm::AboutItemClick);

    PlayerPopup = new QMenu(this);
    PlayerPopup->setObjectName("PlayerPopup");
    connect(AddItem(PlayerPopup, "Hug", "HugItem"), &QAction::triggered, this, [this] { PlayerCommand("hug"); });
    connect(AddItem(PlayerPopup, "Kiss", "KissItem"), &QAction::triggered, this, [this] { PlayerCommand("kiss"); });
    PlayerPopup->addSeparator();
    connect(
        AddItem(PlayerPopup, "Tight Beam", "TightBeamItem"), &QAction::triggered, this, &TMainForm::TightBeamItemClick);
    PlayerPopup->addSeparator();
    connect(AddItem(PlayerPopup, "Examine", "ExamineItem"), &QAction::triggered, this, [this] { PlayerCommand("ex"); });
    connect(AddItem(PlayerPopup, "Spynet", "SpynetReport"), &QAction::triggered, this,
        [this] { PlayerCommand("spynet report"); });
}
