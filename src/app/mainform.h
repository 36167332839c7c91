#pragma once
// The main window: owns every long-lived object of the client, lays out the
// panes and lists, and is the only place text is shown to the player.

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include <QMainWindow>
#include <QAbstractSocket>

#include "map/map_grid.h"
#include "base/addresses.h"
#include "dispatch/server_parser.h"
#include "session/inputedit.h"
#include "views/mainview.h"
#include "base/screen_fit.h"
#include "social/tb_code.h"

class QAction;
class ResetWatch;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSoundEffect;
class QSplitter;
class QTabWidget;
class QTableWidget;
class QTcpSocket;
class QTimer;
class QUrl;
class QWidget;
class QGroupBox;
class QFrame;
class QToolButton;
class Coms;
class CommandHistory;
class TLogonForm;
class TNewAccountForm;
class Friends;
class Players;
class TightBeam;
class TextPane;
class Init;
class FriendsSettings;
class MacroSettings;
class Macro;
class PlayerInput;
class TCommandForm;
class TMacroBox;
class SessionLog;
class Tmc;
class WindowLogMenu;
class PanelWidgets;
class WorldMap;
class MapDisplay;

class TMainForm : public QMainWindow, public MainView, public TightBeamView {
    Q_OBJECT
public:
    // Message boxes go through hooks so tests can answer them.
    using MessageHook = std::function<void(MessageKind, const QString&)>;
    using ConfirmHook = std::function<bool(const QString&)>;
    // Web pages, mail and help pages go to the desktop unless a test listens.
    using UrlOpener = std::function<void(const QUrl&)>;

    // Limits of the contents list under a flooding server.
    static constexpr int kMaxLocationItems = 500;
    static constexpr std::size_t kMaxItemBytes = 256;

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // MainView
    void DisplayText(const std::string& text, bool skipStory = false) override;
    void AddToStory(const std::string& text) override;
    void AddToScrollback(const std::string& text) override;
    void SendText(const std::string& text) override;
    void OpenConnection(const std::string& host, int port, const std::string& avatarName) override;
    void AddLocationItem(const std::string& text) override;
    void RemoveLocationItem(const std::string& text) override;
    void ClearLocationList() override;
    void AddPlayerItem(const std::string& name) override;
    void RemovePlayerItem(const std::string& name) override;
    void ClearPlayerList() override;
    void AddFriendItem(const std::string& name) override;
    void RemoveFriendItem(const std::string& name) override;
    void ClearFriendList() override;
    void SetBufferLines(int lines) override;
    int BufferLines() const override { return bufferLines; }
    void ApplyColour(int32_t colour) override;
    void ApplyFont(const FontSpec& font) override;
    FontSpec OutputFont() const override { return outputFont; }
    void ShowStatsPanel(bool visible) override;
    bool OptionChecked(Option option) const override;
    void SetOptionChecked(Option option, bool checked) override;
    int WindowWidth() const override;
    int WindowHeight() const override;
    void SetWindowSize(int width, int height) override;
    int InputPanelHeight() const override;
    void SetInputPanelHeight(int height) override;
    void ShowScorePage() override;
    void ShowShipPage() override;
    void ResetSpynetView() override;
    std::string WorkDir() const override { return workDir; }
    void PlaySound(const std::string& path) override;
    void ShowMessage(MessageKind kind, const std::string& text) override;
    void SetStatusText(int panel, const std::string& text) override;
    void OpenReport(const std::string& title) override;
    void AddReportLine(const std::string& text) override;
    void LoadReportPicture(const std::string& path) override;

    // TightBeamView: the "TB" page.
    void ShowTightBeamPage() override;
    void ShowReportsPage() override;
    void SetTightBeamCaption(const std::string& text) override;
    void ClearTightBeamTranscript() override;
    void AddTightBeamLine(const std::string& text) override;
    void LoadTightBeamPicture(const std::string& path) override;
    void PrefillInput(const std::string& text) override;
    void ClearInputEdit() override;

    // One chunk as read from the socket: cut, routed, and echoed raw when asked.
    void ReceiveChunk(std::string_view chunk);
    void UpdatePlayerCount();
    void TrimMemo(TextPane* memo);
    void ShowConnectionError();
    // Closes the socket; the disconnection is handled once, now, if it was open.
    void EndConnection();
    // The application's general error display.
    void ShowGeneralError(const QString& message);

    void SetMessageHook(MessageHook hook) { messageHook = std::move(hook); }
    void SetConfirmHook(ConfirmHook hook) { confirmHook = std::move(hook); }
    void SetUrlOpener(UrlOpener opener) { urlOpener = std::move(opener); }

    Coms& GetComs() { return *coms; }
    Players& GetPlayers() { return *players; }
    Friends& GetFriends() { return *friends; }
    TightBeam& GetTightBeam() { return *tightBeam; }
    Macro& GetMacro() { return *macro; }
    PlayerInput& GetPlayerInput() { return *playerInput; }
    CommandHistory& GetHistory() { return *history; }
    WorldMap& GetWorldMap() { return *worldMap; }
    TMacroBox* MacroBox() const { return macroBox; }
    TCommandForm* CommandForm() const { return commandForm; }
    QTcpSocket* Socket() const { return cliSocket; }
    PanelWidgets& GetPanels() { return *panelWidgets; }
    const std::string& Version() const { return version; }
    QAction* MenuItem(Option option) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void CliSocketConnect();
    void CliSocketDisconnect();
    void CliSocketRead();
    void CliSocketError(QAbstractSocket::SocketError error);

private:
    void BuildUi();
    void BuildMenus();
    QWidget* BuildTopStrip();
    QWidget* BuildRightColumn();
    QWidget* BuildMainTab();
    QWidget* BuildMapTab();
    QWidget* BuildScorePage();
    QWidget* BuildShipPage();
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormDestroy();
    void MainNotebookChange(int index);
    // Shows a page of MainNotebook without running the player's tab handler.
    void ShowMainPage(int index);
    void SetConnectedMenus(bool connected);
    void SetCaption();
    // Gives the window the stored size, fitted to its screen.
    void ApplyWindowSize();

    // Menu handlers of the shell's own items.
    void LogOffItemClick();
    void CopyItemClick();
    void PasteItemClick();
    void SelectAllItemClick();
    void ColorItemClick();
    void FontsItemClick();
    void BufferSizeItemClick();
    void DumptoScrollItemClick();
    void OpenAddress(const QUrl& address);
    // A help page shipped under manual/ in the working directory.
    void OpenManualPage(const char* page);
    void VotingItemClick();
    void AboutItemClick();
    void PlayerCommand(const std::string& verb);
    void PlayerListBoxDblClick();
    void FKeyStartUpItemClick();
    void CommandBtnClick();
    void LocListBoxDblClick();
    // Social: the tight beam and friends items.
    void TightBeamItemClick();
    void FriendsitemClick();
    bool Confirm(const QString& text);

    QAction* AddItem(QMenu* menu, const char* caption, const char* name, bool checkable = false, bool checked = false);
    // A checkable item that shows an option; kept in optionItems.
    QAction* AddOptionItem(QMenu* menu, const char* caption, const char* name, Option option, bool checked = false);
    // The menu items the window changes after building them, kept as built.
    std::array<QAction*, static_cast<std::size_t>(Option::DisplayServerStream) + 1> optionItems{};
    QAction* startLoggingItem = nullptr;
    QAction* stopLoggingItem = nullptr;
    QAction* pasteItem = nullptr;
    QAction* logonItem = nullptr;
    QAction* newAccountItem = nullptr;
    QAction* logOffItem = nullptr;

public:
    // Controls, named as their objectName.
    QTabWidget* ContentsNotebook = nullptr;
    QListWidget* LocListBox = nullptr;
    QTabWidget* TopNotebook = nullptr;
    QWidget* ExSpTab = nullptr;
    QLabel* SpynetImage = nullptr;
    QLabel* SpynetNamePanel = nullptr;
    TextPane* SpynetOutput = nullptr;
    QWidget* ExchTab = nullptr;
    QGroupBox* LastExchGroup = nullptr;
    QFrame* LastCommodPanel = nullptr;
    QLabel* CommodNameLabel = nullptr;
    QLabel* CommodLabel1 = nullptr;
    QLabel* CommodLabel2 = nullptr;
    QLabel* ExchImage = nullptr;
    QFrame* TickerPanel = nullptr;
    QLabel* TickerEdit = nullptr;
    QListWidget* HistoryListBox = nullptr;
    QWidget* PrivateTab = nullptr;
    QLabel* TBNamePanel = nullptr;
    QLabel* TBImage = nullptr;
    QPushButton* TBEndBtn = nullptr;
    TextPane* TBMemo = nullptr;
    QFrame* ImagePanel = nullptr;
    QLabel* MapImage = nullptr;
    TileGrid* DetailGrid = nullptr;
    QToolButton* BoardBtn = nullptr;
    QToolButton* UpBtn = nullptr;
    QToolButton* DownBtn = nullptr;
    QPushButton* CommandBtn = nullptr;
    QTabWidget* PlayersNotebook = nullptr;
    QListWidget* PlayerListBox = nullptr;
    QListWidget* FriendsListBox = nullptr;
    QMenu* PlayerPopup = nullptr;
    QTabWidget* MainNotebook = nullptr;
    QWidget* StatsPanel = nullptr;
    QTabWidget* StatsNoteBook = nullptr;
    QLabel* ScoreImage = nullptr;
    QLabel* NameLabel = nullptr;
    QLabel* RankLabel = nullptr;
    QTableWidget* StatsGrid = nullptr;
    QProgressBar* StatBar = nullptr;
    QLabel* ShipImage = nullptr;
    QLabel* ClassLabel = nullptr;
    QFrame* TwinkPanel = nullptr;
    QTableWidget* ShipGrid = nullptr;
    QProgressBar* ShipBar = nullptr;
    TextPane* OutputEdit = nullptr;
    QSplitter* MainSplitter = nullptr;
    QWidget* InputPanel = nullptr;
    class InputEdit* InputEdit = nullptr;
    TextPane* MapMemo = nullptr;
    TextPane* MapRepeater = nullptr;
    TileGrid* MapGrid = nullptr;
    TextPane* StoryMemo = nullptr;
    TextPane* ScrollBackMemo = nullptr;
    QLabel* StatusPanels[4] = {};
    QTimer* TwinkleTimer = nullptr;
    QTimer* TickerTimer = nullptr;
    QTcpSocket* cliSocket = nullptr;

private:
    int bufferLines = 200;
    std::string version = "1.60";
    std::string workDir;
    std::string avatarName;
    std::string serverHost;
    QTcpSocket* socket = nullptr; // set at the first successful connection
    bool reading = false;
    ResetWatch* resetWatch = nullptr;
    bool firstShow = true;
    bool switchingPages = false;
    bool destroyed = false;
    int disconnectRuns = 0;
    StoredWindowSize windowSize{QSize(992, 701)};
    // Arial 15 pixels high in the system's window-text colour.
    FontSpec outputFont{"Arial", static_cast<int32_t>(0x80000008u), -15, 11};
    // Where the server dispatcher sends its effects; outlives the connection.
    DispatchTargets dispatchTargets;
    std::unique_ptr<Friends> friends;
    std::unique_ptr<Players> players;
    std::unique_ptr<TightBeam> tightBeam;
    std::unique_ptr<Macro> macro;
    std::unique_ptr<Coms> coms;
    std::unique_ptr<CommandHistory> history;
    std::unique_ptr<PlayerInput> playerInput;
    std::unique_ptr<PanelWidgets> panelWidgets;
    std::unique_ptr<MapDisplay> mapDisplay;
    std::unique_ptr<WorldMap> worldMap;
    TMacroBox* macroBox = nullptr;
    TCommandForm* commandForm = nullptr;
    QSoundEffect* sound = nullptr;
    MessageHook messageHook;
    ConfirmHook confirmHook;
    UrlOpener urlOpener;
    addresses::Outside outsideAddresses; // read at start-up
    std::unique_ptr<WindowLogMenu> logMenu;
    std::unique_ptr<SessionLog> sessionLog;
    std::unique_ptr<Tmc> tmc;

    // Settings (init.xml).
public:
    Init& Settings() { return *init; }
    SessionLog& GetSessionLog() { return *sessionLog; }
    Tmc& GetTmc() { return *tmc; }

private:
    void ReadSettings(FriendsSettings& friends, MacroSettings& macros);
    std::unique_ptr<Init> init;

    // Accounts: the logon and new-account dialogs live as long as the window
    // (the new-account dialog keeps what was typed between uses).
public:
    TLogonForm* LogonForm = nullptr;
    TNewAccountForm* NewAccountForm = nullptr;
};
