#include "social/friends.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/ansi.h"
#include "widgets/list_rows.h"
#include "social/friends_code.h"

namespace {

struct RankBox {
    const char* caption;
    const char* objectName;
};

// In rank order: the index is the rank's bit.
constexpr std::array<RankBox, kRankCount> kRankBoxes{{
    {"GroundHog", "GHogCheck"},
    {"Commander", "CommanderCheck"},
    {"Captain", "CaptainCheck"},
    {"Adventurer", "AdventCheck"},
    {"Merchant", "MerchantCheck"},
    {"Trader", "TraderCheck"},
    {"Industrialist", "IndustrialistCheck"},
    {"Manufacturer", "ManufacturerCheck"},
    {"Financier", "FinancierCheck"},
    {"Founder", "FounderCheck"},
    {"Engineer", "EngineerCheck"},
    {"Mogul", "MogulCheck"},
    {"Technocrat", "TechnoCheck"},
    {"Magnate", "MagnateCheck"},
    {"Plutocrat", "PlutocratCheck"},
    {"Syndicrat", "SyndicratCheck"},
}};

// Where the boxes stand on screen, top to bottom.
constexpr std::array<int, 9> kLeftColumn{0, 2, 4, 6, 8, 9, 11, 13, 15};
constexpr std::array<int, 7> kRightColumn{1, 3, 5, 7, 10, 12, 14};

constexpr int kItemHeight = 17;

} // namespace

TFriendsForm::TFriendsForm(Friends& m, QWidget* parent)
    : QDialog(parent)
    , model(m)
{
    setObjectName("FriendsForm");
    setWindowTitle("Friend Alerts");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setFixedSize(459, 273);

    auto* ranksGroup = new QGroupBox(" Ranks ", this);
    auto* ranksGrid = new QGridLayout(ranksGroup);
    ranksGrid->setVerticalSpacing(0);
    for (int bit = 0; bit < kRankCount; ++bit) {
        rankChecks[bit] = new QCheckBox(kRankBoxes[bit].caption, ranksGroup);
        rankChecks[bit]->setObjectName(kRankBoxes[bit].objectName);
    }
    for (std::size_t row = 0; row < kLeftColumn.size(); ++row)
        ranksGrid->addWidget(rankChecks[kLeftColumn[row]], static_cast<int>(row), 0);
    for (std::size_t row = 0; row < kRightColumn.size(); ++row)
        ranksGrid->addWidget(rankChecks[kRightColumn[row]], static_cast<int>(row), 1);

    auto* friendsGroup = new QGroupBox(" Friends", this);
    friendsList = new QListWidget(friendsGroup);
    friendsList->setObjectName("FriendsList");
    friendsList->setUniformItemSizes(true);
    newEdit = new QLineEdit(friendsGroup);
    newEdit->setObjectName("NewEdit");
    newEdit->setMaxLength(31);
    auto* addBtn = new QPushButton("Add Name", friendsGroup);
    addBtn->setObjectName("AddBtn");
    addBtn->setAutoDefault(false);
    auto* deleteBtn = new QPushButton("Delete Name", friendsGroup);
    deleteBtn->setObjectName("DeleteBtn");
    deleteBtn->setAutoDefault(false);
    auto* friendsBox = new QVBoxLayout(friendsGroup);
    friendsBox->addWidget(friendsList);
    friendsBox->addWidget(newEdit);
    auto* friendButtons = new QHBoxLayout;
    friendButtons->addWidget(addBtn);
    friendButtons->addWidget(deleteBtn);
    friendsBox->addLayout(friendButtons);

    auto* bottomPanel = new QWidget(this);
    audioCheck = new QCheckBox("Audible Alert", bottomPanel);
    audioCheck->setObjectName("AudioCheck");
    okBtn = new QPushButton("OK", bottomPanel);
    okBtn->setObjectName("OKBtn");
    okBtn->setDefault(true);
    auto* cancelBtn = new QPushButton("Cancel", bottomPanel);
    cancelBtn->setObjectName("CancelBtn");
    cancelBtn->setAutoDefault(false);
    auto* bottom = new QHBoxLayout(bottomPanel);
    bottom->setContentsMargins(4, 0, 4, 0);
    bottom->addWidget(audioCheck);
    bottom->addStretch();
    bottom->addWidget(okBtn);
    bottom->addWidget(cancelBtn);

    auto* groups = new QHBoxLayout;
    groups->addWidget(ranksGroup);
    groups->addWidget(friendsGroup);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(groups);
    whole->addWidget(bottomPanel);

    // Tab goes down the rank columns as they are shown, then through the
    // friends and the buttons.
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    };
    for (int bit : kLeftColumn)
        chain(rankChecks[std::size_t(bit)]);
    for (int bit : kRightColumn)
        chain(rankChecks[std::size_t(bit)]);
    for (QWidget* w : {static_cast<QWidget*>(friendsList), static_cast<QWidget*>(newEdit),
             static_cast<QWidget*>(addBtn), static_cast<QWidget*>(deleteBtn), static_cast<QWidget*>(audioCheck),
             static_cast<QWidget*>(okBtn), static_cast<QWidget*>(cancelBtn)})
        chain(w);
    connect(addBtn, &QPushButton::clicked, this, &TFriendsForm::AddBtnClick);
    connect(deleteBtn, &QPushButton::clicked, this, &TFriendsForm::DeleteBtnClick);
    connect(okBtn, &QPushButton::clicked, this, &TFriendsForm::OKBtnClick);
    connect(cancelBtn, &QPushButton::clicked, this, &TFriendsForm::close);
}

void TFriendsForm::Open()
{
    // Filled only here, and only when it is not already open: showing it
    // again (after a minimise, or chosen again from the menu) must not throw
    // away unconfirmed edits.
    if (!isVisible())
        FormShow();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TFriendsForm::FormShow()
{
    friendsList->clear();
    newEdit->clear();
    const uint16_t ranks = model.Ranks();
    for (int bit = 0; bit < kRankCount; ++bit)
        rankChecks[bit]->setChecked((ranks & (1u << bit)) != 0);
    for (const std::string& name : model.Names())
        AddListItem(FromAnsi(name));
    audioCheck->setChecked(model.Audio());
    // Opens on OK. (A focus proxy on the dialog would do it too, but would
    // pull every Tab that reaches the dialog back to OK.)
    okBtn->setFocus();
}

// The list is sorted ignoring case and holds each name once, whatever its case.
void TFriendsForm::AddListItem(const QString& name)
{
    int row = 0;
    for (; row < friendsList->count(); ++row) {
        const int order = friendsList->item(row)->text().compare(name, Qt::CaseInsensitive);
        if (order == 0)
            return;
        if (order > 0)
            break;
    }
    auto* item = new QListWidgetItem(name);
    item->setSizeHint(QSize(1, kItemHeight));
    friendsList->insertItem(row, item);
}

void TFriendsForm::AddBtnClick()
{
    const QString name = newEdit->text();
    if (name.isEmpty())
        return;
    newEdit->clear();
    AddListItem(name);
}

void TFriendsForm::DeleteBtnClick()
{
    QListWidgetItem* selected = friendsList->currentItem();
    if (!selected || !selected->isSelected()) {
        QMessageBox::critical(this, "Error", "You need to select a player first!", QMessageBox::Ok);
        return;
    }
    RemoveListRow(friendsList, friendsList->row(selected));
}

void TFriendsForm::OKBtnClick()
{
    uint16_t ranks = 0;
    for (int bit = 0; bit < kRankCount; ++bit)
        if (rankChecks[bit]->isChecked())
            ranks |= static_cast<uint16_t>(1u << bit);
    std::vector<std::string> names;
    for (int row = 0; row < friendsList->count(); ++row)
        names.push_back(ToAnsi(friendsList->item(row)->text()));
    model.Replace(ranks, audioCheck->isChecked(), names);
    close();
}
