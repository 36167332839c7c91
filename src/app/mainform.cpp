#include "app/mainform.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFontDialog>
#include <QScopeGuard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScopeGuard>
#include <QPushButton>
#include <QScreen>
#include <QSoundEffect>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "markup/xml.h"
#include "about/about.h"
#include "account/login_code.h"
#include "account/logon.h"
#include "account/new_ac_code.h"
#include "account/new_account.h"
#include "base/ansi.h"
#include "macros/cmdform.h"
#include "find/page_find.h"
#include "map/map_display.h"
#include "map/world_map.h"
#include "macros/macro.h"
#include "macros/macroform.h"
#include "panels/panel_widgets.h"
#include "widgets/accessibility.h"
#include "session/coms.h"
#include "session/history_keys.h"
#include "input/command_history.h"
#include "input/input.h"
#include "widgets/list_rows.h"
#include "session/reset_watch.h"
#include "base/screen_fit.h"
#include "base/colours.h"
#include "base/datafiles.h"
#include "widgets/textpane.h"
#include "settings/init.h"
#include "settings/init_parser.h"
#include "social/friends.h"
#include "social/friends_code.h"
#include "social/players.h"
#include "social/tmc.h"
#include "social/tmc_code.h"
#include "social/tmc_reminder.h"
#include "logging/log_menu.h"
#include "logging/session_log.h"
#include "base/addresses.h"

namespace {

// Case-insensitive sorted position; an equal entry goes after those already listed.
int SortedPosition(const QListWidget* list, const QString& text)
{
    int lo = 0, hi = list->count();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (QString::compare(list->item(mid)->text(), text, Qt::CaseInsensitive) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// Geometry from a file is fitted to the screen the window stands on.
ScreenFit FitFor(const QWidget& window)
{
    // Without any screen yet, the design size is the limit.
    const QScreen* screen = window.screen();
    return ScreenFit(screen ? screen->availableGeometry() : QRect(0, 0, 992, 701));
}

void RemoveFirst(QListWidget* list, const QString& text, Qt::CaseSensitivity cs)
{
    for (int i = 0; i < list->count(); ++i)
        if (QString::compare(list->item(i)->text(), text, cs) == 0) {
            RemoveListRow(list, i);
            return;
        }
}

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName("MainForm");
    BuildUi();
    FormCreate();
    new PageFind(this, MainNotebook,
        {{MainNotebook->widget(0), OutputEdit}, {StoryMemo, StoryMemo}, {ScrollBackMemo, ScrollBackMemo}});
    for (TextPane* pane : findChildren<TextPane*>())
        connect(pane, &TextPane::LinkActivated, this, &TMainForm::OpenAddress);
    NameControlsForScreenReaders(this);
}

TMainForm::~TMainForm()
{
    FormDestroy();
}

// ---------------------------------------------------------------- life cycle

void TMainForm::FormCreate()
{
    bufferLines = 200;
    version = "1.60";
    workDir = QDir::currentPath().toStdString();
    for (const char* dir : {"maps", "logs", "pictures"}) {
        std::error_code ignored;
        std::filesystem::create_directory(std::filesystem::path(workDir) / dir, ignored);
    }

    friends = std::make_unique<Friends>(*this);
    dispatchTargets.friends = friends.get();
    macro = std::make_unique<Macro>(*this);
    ReadSettings(*friends, *macro);
    // A stored macro reaches init.xml at once.
    macro->SetWriteSettings([this] { init->WriteSettings(); });

    coms = std::make_unique<Coms>(*this, std::make_unique<ServerParser>(*this, dispatchTargets), version);
    coms->SetMacroRunner([this](int key) { macro->Send(key); });
    players = std::make_unique<Players>(*this);
    dispatchTargets.players = players.get();
    playerInput = std::make_unique<PlayerInput>(*this);
    InputEdit->Attach(*playerInput, *macro, *PlayerListBox);
    history = std::make_unique<CommandHistory>((std::filesystem::path(workDir) / "history.txt").string());
    history->SetFailureReport([this](const std::string& path) {
        AddToScrollback("Can't open file for writing:");
        AddToScrollback(path);
    });
    history->Load();
    playerInput->SetHistory(*history, [this] { return coms->GetMode() == Coms::Streaming; });
    new HistoryKeys(*InputEdit, *history);
    InputEdit->SetPasteEnabler([item = QPointer<QAction>(pasteItem)](bool on) {
        if (item)
            item->setEnabled(on);
    });
    macroBox = new TMacroBox(*macro, this);
    commandForm = new TCommandForm(*playerInput, *macro, this);
    commandForm->SetDetailGrid(DetailGrid);
    mapDisplay = std::make_unique<MapDisplay>(
        MapDisplay::Widgets{DetailGrid, MapGrid, MapImage, MapMemo, findChild<QWidget*>("MoveBtnPanel")},
        [this] { commandForm->Open(); },
        [this] {
            if (MainNotebook->tabText(MainNotebook->currentIndex()) == "Main")
                InputEdit->setFocus();
        });
    worldMap = std::make_unique<WorldMap>(*this, *mapDisplay);
    mapDisplay->Attach(*worldMap, QString::fromStdString(workDir + "/mapimage.bmp"));
    dispatchTargets.map = worldMap.get();
    dispatchTargets.locationArrived
        = [this](std::unique_ptr<Location> location) { worldMap->LocationArrived(std::move(location)); };
    // Escape anywhere in the window stops travel by the map.
    qApp->installEventFilter(this);

    // The menu items start the account conversations; each shows its dialog.
    LogonForm = new TLogonForm(this);
    NewAccountForm = new TNewAccountForm(this);
    coms->SetLoginFactory([this] { return std::make_unique<Login>(*this, *init, *LogonForm); });
    coms->SetNewAccountFactory([this] { return std::make_unique<NewAccount>(*this, *init, *NewAccountForm); });

    // Centred at the size it opens with, which the settings may have changed;
    // the design size too must fit a small or highly scaled screen.
    ApplyWindowSize();
    move(FitFor(*this).CentredPosition(size()));
    resetWatch = new ResetWatch(*cliSocket);

    SetCaption();
    socket = nullptr;
    logMenu = std::make_unique<WindowLogMenu>(this, startLoggingItem, stopLoggingItem, StoryMemo);
    sessionLog = std::make_unique<SessionLog>(*this, *logMenu, *init);
    if (init->AutoLog())
        sessionLog->AutoLogItemClick();
    ApplyFont(outputFont);
    StatsGrid->setColumnWidth(0, 88);
    StatsGrid->setColumnWidth(1, 60);
    ShipGrid->setColumnWidth(0, 88);
    ShipGrid->setColumnWidth(1, 60);

    panelWidgets = std::make_unique<PanelWidgets>(*this, *this);
    dispatchTargets.panels = &panelWidgets->Logic();
    tightBeam = std::make_unique<TightBeam>(*this, *this);
    dispatchTargets.tightBeam = tightBeam.get();
    playerInput->SetTightBeamHook([this](const std::string& remainder) { tightBeam->Outgoing(remainder); });
    const std::filesystem::path manual = std::filesystem::path(workDir) / addresses::kManualFolder;
    outsideAddresses = addresses::ReadOutside(QFile::decodeName(manual.string().c_str()));
    tmc = std::make_unique<Tmc>(*init, *this, [this] { OpenAddress(outsideAddresses.votingPage); });
}

void TMainForm::FormDestroy()
{
    if (destroyed)
        return;
    destroyed = true;
    qApp->removeEventFilter(this);
    TwinkleTimer->stop();
    TickerTimer->stop();
    if (init)
        init->WriteSettings();
    if (worldMap)
        worldMap->DestroyMap();
    if (sessionLog)
        sessionLog->Close();
    // The socket outlives this object's handlers while Qt deletes children.
    cliSocket->disconnect(this);
    cliSocket->abort();
}

void TMainForm::ReadSettings(FriendsSettings& friends, MacroSettings& macros)
{
    // A missing or unreadable file leaves the defaults without a word.
    const std::string path = (std::filesystem::path(workDir) / "init.xml").string();
    InitParser parser(path, *this, friends, macros);
    parser.ParseFile();
    init = parser.TakeInit();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (firstShow) {
        firstShow = false;
        FormShow();
    }
}

void TMainForm::FormShow()
{
    if (tmc->ReminderDue())
        (new TTmcReminderForm(*tmc, this))->show();
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TickerPanel && event->type() == QEvent::Resize)
        FormResize();
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape
        && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this && worldMap)
        worldMap->StopTravel(Travel::StopReason::Escape);
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormResize()
{
    // Integer division truncating toward zero, as the ticker expects.
    TickerEdit->move((TickerPanel->width() - TickerEdit->width()) / 2, TickerEdit->y());
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (Confirm("Close Orvix?"))
        event->accept();
    else
        event->ignore();
}

bool TMainForm::Confirm(const QString& text)
{
    if (confirmHook)
        return confirmHook(text);
    return QMessageBox::question(this, "Confirm", text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

void TMainForm::MainNotebookChange(int index)
{
    // Only the player's own choice of tab runs the handler.
    if (switchingPages)
        return;
    const QString tab = MainNotebook->tabText(index);
    if (tab == "Main") {
        DisplayText(" ", true);
        InputEdit->setFocus();
    } else if (tab == "Map") {
        TrimMemo(MapRepeater);
        MapRepeater->AppendLine(" ");
    } else if (tab == "Story") {
        TrimMemo(StoryMemo);
        StoryMemo->AppendLine(" ");
    }
}

void TMainForm::SetCaption()
{
    std::string caption = "Orvix - Version " + version;
    if (cliSocket && cliSocket->state() == QAbstractSocket::ConnectedState)
        caption += " - " + avatarName + " logged into " + serverHost;
    setWindowTitle(FromAnsi(caption));
}

void TMainForm::SetConnectedMenus(bool connected)
{
    logonItem->setEnabled(!connected);
    newAccountItem->setEnabled(!connected);
    logOffItem->setEnabled(connected);
}

// ---------------------------------------------------------------- connection

void TMainForm::OpenConnection(const std::string& host, int port, const std::string& avatar)
{
    worldMap->ClearMap();
    players->Clear();
    if (port < 0 || port > 65535) {
        ShowConnectionError();
    } else {
        if (cliSocket->state() != QAbstractSocket::UnconnectedState)
            cliSocket->abort();
        cliSocket->connectToHost(FromAnsi(host), static_cast<quint16>(port));
    }
    serverHost = host;
    avatarName = avatar;
}

void TMainForm::CliSocketConnect()
{
    if (!socket)
        socket = cliSocket;
    SetConnectedMenus(true);
    coms->ReportConnected();
    SetCaption();
    ClearFriendList();
    panelWidgets->Logic().Connected();
}

void TMainForm::CliSocketDisconnect()
{
    ++disconnectRuns;
    if (cliSocket->state() != QAbstractSocket::UnconnectedState)
        cliSocket->abort();
    DisplayText("Disconnected");
    SetConnectedMenus(false);
    SetStatusText(0, "Disconnected");
    SetCaption();
    panelWidgets->Logic().Disconnected();
    worldMap->StopTravel(Travel::StopReason::Disconnected);
    DetailGrid->hide();
    MapImage->show();
}

void TMainForm::CliSocketRead()
{
    if (reading)
        return;
    reading = true;
    // A handler that throws must not leave the stream unread for good.
    const auto done = qScopeGuard([this] { reading = false; });
    char buffer[4096];
    for (;;) {
        const qint64 n = cliSocket->read(buffer, 4095);
        if (n <= 0)
            break;
        try {
            ReceiveChunk(std::string_view(buffer, static_cast<std::size_t>(n)));
        } catch (...) {
            // Unwinding through the socket's own signal would leave it never
            // signalling new data again: the error is raised from the event
            // loop instead, where the general error display shows it.
            QMetaObject::invokeMethod(
                this, [error = std::current_exception()] { std::rethrow_exception(error); }, Qt::QueuedConnection);
        }
    }
}

void TMainForm::ReceiveChunk(std::string_view chunk)
{
    // The raw chunk is shown even when one of its lines failed.
    const auto echo = qScopeGuard([&] {
        if (OptionChecked(Option::DisplayServerStream)) {
            // A raw chunk may hold thousands of line feeds: trim after it.
            ScrollBackMemo->AppendEntry(FromAnsi(chunk));
            TrimMemo(ScrollBackMemo);
        }
    });
    coms->ProcessChunk(chunk);
}

void TMainForm::CliSocketError(QAbstractSocket::SocketError error)
{
    // A host that cannot be found is the player's comm settings: said in the
    // output window, as an unusable port is.
    if (error == QAbstractSocket::HostNotFoundError) {
        ShowConnectionError();
        return;
    }
    QString reason = cliSocket->errorString();
    // A server closing the connection is a normal end of session; one
    // dropped (reset) is a fault the player is told of.
    if (error == QAbstractSocket::RemoteHostClosedError) {
        if (resetWatch->LastError() == 0)
            return;
        reason = QString::fromLocal8Bit(std::strerror(resetWatch->LastError()));
    }
    // The window says "Disconnected" before the box waits for OK.
    EndConnection();
    ShowGeneralError("Connection to the Kyrn server failed: " + reason);
}

void TMainForm::EndConnection()
{
    const int before = disconnectRuns;
    const bool wasOpen
        = cliSocket->state() == QAbstractSocket::ConnectedState || cliSocket->state() == QAbstractSocket::ClosingState;
    cliSocket->abort();
    if (wasOpen && disconnectRuns == before)
        CliSocketDisconnect();
}

void TMainForm::LogOffItemClick()
{
    EndConnection();
    SetConnectedMenus(false);
    SetStatusText(0, "Disconnected");
    DisplayText("Connection to Kyrnos II Closed");
}

void TMainForm::ShowConnectionError()
{
    SetStatusText(0, "Disconnected");
    DisplayText("   ");
    DisplayText("Your computer has reported an internet connection error.");
    DisplayText("This may be because your comm settings are wrong,");
    DisplayText("because of serious network delays, or because the");
    DisplayText("Kyrnos Server computer is temporarily unavailable.");
}

void TMainForm::ClearInputEdit()
{
    InputEdit->clear();
}

void TMainForm::SendText(const std::string& text)
{
    if (!socket)
        return;
    worldMap->TextSent(text);
    if (cliSocket->state() == QAbstractSocket::ConnectedState)
        cliSocket->write(text.data(), static_cast<qint64>(text.size()));
    if (OptionChecked(Option::DisplayClientStream)) {
        ScrollBackMemo->AppendEntry(FromAnsi(text));
        TrimMemo(ScrollBackMemo);
    }
}

// ---------------------------------------------------------------- panes

void TMainForm::DisplayText(const std::string& text, bool skipStory)
{
    if (OptionChecked(Option::SuppressBlankLines) && (text.empty() || text == " "))
        return;
    const QString line = FromAnsi(text);
    TrimMemo(OutputEdit);
    OutputEdit->AppendLine(line);
    TrimMemo(MapRepeater);
    MapRepeater->AppendLine(line);
    if (!skipStory)
        AddToStory(text);
    if (OptionChecked(Option::TextAlert) && (text.empty() || text[0] != '>'))
        PlaySound(workDir + "/sounds/alert.wav");
}

void TMainForm::AddToStory(const std::string& text)
{
    TrimMemo(StoryMemo);
    StoryMemo->AppendLine(FromAnsi(text));
    if (sessionLog)
        sessionLog->WriteLine(text);
}

void TMainForm::AddToScrollback(const std::string& text)
{
    TrimMemo(ScrollBackMemo);
    ScrollBackMemo->AppendLine(FromAnsi(text));
}

void TMainForm::TrimMemo(TextPane* memo)
{
    memo->TrimTo(bufferLines);
}

void TMainForm::PlaySound(const std::string& path)
{
    const QString file = FindDataFile(QString::fromStdString(path));
    if (file.isEmpty())
        return;
    if (!sound) {
        sound = new QSoundEffect(this);
        sound->setObjectName("SoundPlayer");
    }
    sound->stop();
    const QUrl url = QUrl::fromLocalFile(file);
    if (sound->source() != url)
        sound->setSource(url);
    sound->play();
}

void TMainForm::ShowMessage(MessageKind kind, const std::string& text)
{
    const QString message = FromAnsi(text);
    if (messageHook) {
        messageHook(kind, message);
        return;
    }
    if (kind == MessageKind::Error)
        QMessageBox::critical(this, "Error", message, QMessageBox::Ok);
    else
        QMessageBox::information(this, "Information", message, QMessageBox::Ok);
}

void TMainForm::ShowGeneralError(const QString& message)
{
    if (messageHook) {
        messageHook(MessageKind::Error, message);
        return;
    }
    QMessageBox::critical(this, "Orvix", message, QMessageBox::Ok);
}

void TMainForm::SetStatusText(int panel, const std::string& text)
{
    if (panel >= 0 && panel < 4)
        StatusPanels[panel]->setText(FromAnsi(text));
}

// ---------------------------------------------------------------- lists

void TMainForm::AddLocationItem(const std::string& text)
{
    // No real location holds this many things; past it the server is flooding.
    if (LocListBox->count() >= kMaxLocationItems)
        return;
    const QString item = FromAnsi(text.substr(0, kMaxItemBytes));
    LocListBox->insertItem(SortedPosition(LocListBox, item), item);
}

void TMainForm::RemoveLocationItem(const std::string& text)
{
    RemoveFirst(LocListBox, FromAnsi(text.substr(0, kMaxItemBytes)), Qt::CaseInsensitive);
}

void TMainForm::ClearLocationList()
{
    LocListBox->clear();
}

void TMainForm::AddPlayerItem(const std::string& name)
{
    const QString item = FromAnsi(name);
    PlayerListBox->insertItem(SortedPosition(PlayerListBox, item), item);
    UpdatePlayerCount();
}

void TMainForm::RemovePlayerItem(const std::string& name)
{
    RemoveFirst(PlayerListBox, FromAnsi(name), Qt::CaseInsensitive);
    UpdatePlayerCount();
}

void TMainForm::ClearPlayerList()
{
    PlayerListBox->clear();
    StatusPanels[2]->clear();
}

void TMainForm::UpdatePlayerCount()
{
    StatusPanels[2]->setText(QString::number(PlayerListBox->count()) + " players");
}

void TMainForm::AddFriendItem(const std::string& name)
{
    FriendsListBox->addItem(FromAnsi(name));
}

void TMainForm::RemoveFriendItem(const std::string& name)
{
    RemoveFirst(FriendsListBox, FromAnsi(name), Qt::CaseInsensitive);
}

void TMainForm::ClearFriendList()
{
    FriendsListBox->clear();
}

// ---------------------------------------------------------------- settings

void TMainForm::SetBufferLines(int lines)
{
    bufferLines = lines;
    MenuItem(Option::LargeBuffer)->setChecked(lines > 200);
}

void TMainForm::ApplyColour(int32_t code)
{
    const QColor colour = ColourFromCode(code);
    const QColor base = colour.isValid() ? colour : QApplication::palette().color(QPalette::Base);
    const char* names[] = {"InputEdit", "OutputEdit", "LocListBox", "PlayerListBox", "FriendsListBox", "MapMemo",
        "MapRepeater", "StoryMemo", "ScrollBackMemo", "StatsGrid", "ShipGrid", "TBNamePanel", "TBMemo",
        "HistoryListBox", "TickerEdit", "LastCommodPanel", "SpynetOutput", "SpynetNamePanel"};
    for (const char* name : names) {
        QWidget* w = findChild<QWidget*>(name);
        if (!w)
            continue;
        QPalette p = w->palette();
        p.setColor(QPalette::Base, base);
        p.setColor(QPalette::Window, base);
        w->setPalette(p);
    }
}

void TMainForm::ApplyFont(const FontSpec& wanted)
{
    outputFont = wanted;
    QFont font(QString::fromStdString(wanted.name));
    // A size from the file may be anything; text never outgrows the screen.
    const ScreenFit fit = FitFor(*this);
    if (wanted.size > 0)
        font.setPointSize(fit.TextHeight(wanted.size));
    else if (wanted.height != 0)
        font.setPixelSize(fit.TextHeight(std::abs(int64_t{wanted.height})));
    font.setBold(wanted.bold);
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setStrikeOut(wanted.strikeOut);
    QColor colour = ColourFromCode(wanted.colour);
    if (!colour.isValid())
        colour = QApplication::palette().color(QPalette::Text);

    const char* whole[] = {"InputEdit", "OutputEdit", "LocListBox", "PlayerListBox", "FriendsListBox", "MapMemo",
        "MapRepeater", "StoryMemo", "ScrollBackMemo", "TBNamePanel", "TBMemo", "HistoryListBox", "SpynetOutput",
        "SpynetNamePanel"};
    for (const char* name : whole) {
        if (QWidget* w = findChild<QWidget*>(name)) {
            w->setFont(font);
            QPalette p = w->palette();
            p.setColor(QPalette::Text, colour);
            p.setColor(QPalette::WindowText, colour);
            w->setPalette(p);
        }
    }
    const char* colourOnly[]
        = {"StatsGrid", "ShipGrid", "CommodNameLabel", "CommodLabel1", "CommodLabel2", "TickerEdit"};
    for (const char* name : colourOnly) {
        if (QWidget* w = findChild<QWidget*>(name)) {
            QPalette p = w->palette();
            p.setColor(QPalette::Text, colour);
            p.setColor(QPalette::WindowText, colour);
            w->setPalette(p);
        }
    }
}

void TMainForm::ShowStatsPanel(bool visible)
{
    MenuItem(Option::StatsPanel)->setChecked(visible);
    StatsPanel->setVisible(visible);
}

QAction* TMainForm::MenuItem(Option option) const
{
    const auto index = static_cast<std::size_t>(option);
    return index < optionItems.size() ? optionItems[index] : nullptr;
}

bool TMainForm::OptionChecked(Option option) const
{
    QAction* a = MenuItem(option);
    return a && a->isChecked();
}

void TMainForm::SetOptionChecked(Option option, bool checked)
{
    if (QAction* a = MenuItem(option))
        a->setChecked(checked);
}

int TMainForm::WindowWidth() const
{
    return windowSize.ToWrite(size()).width();
}

int TMainForm::WindowHeight() const
{
    return windowSize.ToWrite(size()).height();
}

void TMainForm::SetWindowSize(int w, int h)
{
    windowSize.Store(QSize(w, h));
    ApplyWindowSize();
}

void TMainForm::ApplyWindowSize()
{
    resize(FitFor(*this).WindowSize(windowSize.Stored(), minimumSizeHint()));
    windowSize.Applied(size());
}

int TMainForm::InputPanelHeight() const
{
    return MainSplitter->sizes().value(1, InputPanel->height());
}

void TMainForm::SetInputPanelHeight(int stored)
{
    const int h = FitFor(*this).PanelHeight(stored);
    QList<int> sizes = MainSplitter->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    MainSplitter->setSizes({std::max(total - h, 1), h});
}

void TMainForm::ShowScorePage()
{
    StatsNoteBook->setCurrentIndex(0);
}

void TMainForm::ShowShipPage()
{
    StatsNoteBook->setCurrentIndex(1);
}

void TMainForm::OpenReport(const std::string& title)
{
    TopNotebook->setCurrentWidget(ExSpTab);
    SpynetNamePanel->setText(FromAnsi(title));
    SpynetOutput->ClearLines();
}

void TMainForm::AddReportLine(const std::string& text)
{
    SpynetOutput->AppendLine(FromAnsi(text));
    TrimMemo(SpynetOutput);
}

void TMainForm::LoadReportPicture(const std::string& path)
{
    SpynetImage->setPixmap(QPixmap(QString::fromStdString(path)));
}

void TMainForm::ResetSpynetView()
{
    // Leaves the report showing from its first line.
    SpynetOutput->ScrollToTop();
}

// ---------------------------------------------------------------- menu items

void TMainForm::CopyItemClick()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus == InputEdit)
        InputEdit->copy();
    for (TextPane* pane : {OutputEdit, StoryMemo, ScrollBackMemo})
        if (focus == pane)
            pane->copy();
}

void TMainForm::PasteItemClick()
{
    InputEdit->paste();
}

void TMainForm::SelectAllItemClick()
{
    QWidget* focus = QApplication::focusWidget();
    if (focus == InputEdit)
        InputEdit->selectAll();
    for (TextPane* pane : {OutputEdit, StoryMemo, ScrollBackMemo})
        if (focus == pane)
            pane->selectAll();
}

void TMainForm::ColorItemClick()
{
    const QColor start = OutputEdit->palette().color(QPalette::Base);
    const QColor chosen = QColorDialog::getColor(start, this, "Background Color");
    if (!chosen.isValid())
        return;
    init->SetBackgroundColour(CodeFromColour(chosen));
    init->WriteSettings();
}

void TMainForm::FontsItemClick()
{
    bool ok = false;
    QFont start = OutputEdit->font();
    const QFont chosen = QFontDialog::getFont(&ok, start, this, "Fonts");
    if (!ok)
        return;
    FontSpec wanted = outputFont;
    wanted.name = chosen.family().toStdString();
    if (chosen.pointSize() > 0) {
        wanted.size = chosen.pointSize();
        wanted.height = -((wanted.size * 96 + 36) / 72);
    } else {
        wanted.height = -chosen.pixelSize();
        wanted.size = 0;
    }
    wanted.bold = chosen.bold();
    wanted.italic = chosen.italic();
    wanted.underline = chosen.underline();
    wanted.strikeOut = chosen.strikeOut();
    // The font dialog has no colour: the text colour is chosen next.
    const QColor colour = QColorDialog::getColor(OutputEdit->palette().color(QPalette::Text), this, "Font Color");
    if (colour.isValid())
        wanted.colour = CodeFromColour(colour);
    ApplyFont(wanted);
    init->WriteSettings();
}

void TMainForm::BufferSizeItemClick()
{
    bufferLines = OptionChecked(Option::LargeBuffer) ? 500 : 200;
    init->SetBufferSize(bufferLines);
}

void TMainForm::ShowMainPage(int index)
{
    switchingPages = true;
    MainNotebook->setCurrentIndex(index);
    switchingPages = false;
}

void TMainForm::DumptoScrollItemClick()
{
    ShowMainPage(0);
    OutputEdit->selectAll();
    OutputEdit->copy();
    OutputEdit->setFocus();
    ScrollBackMemo->ReplaceText(QGuiApplication::clipboard()->text());
    ShowMainPage(3);
}

void TMainForm::OpenAddress(const QUrl& address)
{
    if (urlOpener)
        urlOpener(address);
    else
        QDesktopServices::openUrl(address);
}

void TMainForm::OpenManualPage(const char* page)
{
    const std::filesystem::path file = std::filesystem::path(workDir) / addresses::kManualFolder / page;
    OpenAddress(QUrl::fromLocalFile(QFile::decodeName(file.string().c_str())));
}

void TMainForm::VotingItemClick()
{
    (new TTmcForm(*tmc, this))->show();
}

void TMainForm::AboutItemClick()
{
    auto* about = findChild<TAboutForm*>();
    if (!about)
        about = new TAboutForm(QString::fromStdString(version), this);
    about->show();
    about->raise();
}

void TMainForm::PlayerCommand(const std::string& verb)
{
    QListWidget* list = PlayersNotebook->currentIndex() == 0 ? PlayerListBox : FriendsListBox;
    QListWidgetItem* item = list->currentItem();
    if (!item || !item->isSelected()) {
        ShowMessage(MessageKind::Error, "You need to select a player first!");
        return;
    }
    const std::string text = verb + " " + ToAnsi(item->text());
    DisplayText(text);
    SendText(text + "\n");
}

void TMainForm::PlayerListBoxDblClick()
{
    QListWidgetItem* item = PlayerListBox->currentItem();
    if (!item)
        return;
    InputEdit->setPlainText(InputEdit->toPlainText() + " " + item->text() + " ");
    InputEdit->moveCursor(QTextCursor::End);
    InputEdit->setFocus();
}

void TMainForm::FKeyStartUpItemClick()
{
    macroBox->Open();
}

void TMainForm::CommandBtnClick()
{
    commandForm->Open();
}

void TMainForm::LocListBoxDblClick()
{
    QListWidgetItem* item = LocListBox->currentItem();
    if (!item)
        return;
    playerInput->Submit("ex " + ToAnsi(item->text()), false);
    InputEdit->setFocus();
}

// ---------------------------------------------------------------- social

void TMainForm::TightBeamItemClick()
{
    QListWidget* list = PlayersNotebook->currentIndex() == 0 ? PlayerListBox : FriendsListBox;
    const QListWidgetItem* item = list->currentItem();
    tightBeam->OpenSelected(item && item->isSelected() ? ToAnsi(item->text()) : std::string());
}

void TMainForm::FriendsitemClick()
{
    auto* form = findChild<TFriendsForm*>();
    if (!form)
        form = new TFriendsForm(*friends, this);
    form->Open();
}

void TMainForm::ShowTightBeamPage()
{
    TopNotebook->setCurrentWidget(PrivateTab);
}

void TMainForm::ShowReportsPage()
{
    TopNotebook->setCurrentWidget(ExSpTab);
}

void TMainForm::SetTightBeamCaption(const std::string& text)
{
    TBNamePanel->setText(FromAnsi(text));
}

void TMainForm::ClearTightBeamTranscript()
{
    TBMemo->ClearLines();
}

void TMainForm::AddTightBeamLine(const std::string& text)
{
    TBMemo->AppendLine(FromAnsi(text));
    TrimMemo(TBMemo);
}

void TMainForm::LoadTightBeamPicture(const std::string& path)
{
    TBImage->setPixmap(QPixmap(QString::fromStdString(path)));
}

void TMainForm::PrefillInput(const std::string& text)
{
    InputEdit->setPlainText(FromAnsi(text));
    if (MainNotebook->currentIndex() == 0) {
        InputEdit->setFocus();
        InputEdit->moveCursor(QTextCursor::End);
    }
}
