#include "account/new_account.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "account/account_picture.h"
#include "account/password_echo.h"
#include "base/ansi.h"
#include "account/login_code.h"

namespace {
constexpr int kStatMinimum = 20;
constexpr int kStatMaximum = 70;
constexpr int kUnusedAtStart = 60;

QLineEdit* MakeEdit(QWidget* parent, const char* name, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

bool IsLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool IsLetterOrDigit(QChar c)
{
    return IsLetter(c) || (c >= u'0' && c <= u'9');
}
} // namespace

TNewAccountForm::TNewAccountForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName("NewAccountForm");
    setWindowTitle("New Account & Avatar");
    setModal(true);

    auto* accountGroup = new QGroupBox(" Account ", this);
    auto* accountLayout = new QFormLayout(accountGroup);
    IDEdit = MakeEdit(accountGroup, "IDEdit", 23);
    NewAcCheck = new QCheckBox("New Account", accountGroup);
    NewAcCheck->setObjectName("NewAcCheck");
    NewAcCheck->setChecked(true);
    PwEdit = MakeEdit(accountGroup, "PwEdit", 15);
    ShowAsterisks(PwEdit);
    PwConfEdit = MakeEdit(accountGroup, "PwConfEdit", 15);
    ShowAsterisks(PwConfEdit);
    EMailEdit = MakeEdit(accountGroup, "EMailEdit", 79);
    SavePwCheck = new QCheckBox("Save Password", accountGroup);
    SavePwCheck->setObjectName("SavePwCheck");
    accountLayout->addRow("Account ID", IDEdit);
    accountLayout->addRow("", NewAcCheck);
    accountLayout->addRow("Password", PwEdit);
    accountLayout->addRow("P/w Confirm", PwConfEdit);
    accountLayout->addRow("E-Mail", EMailEdit);
    accountLayout->addRow("", SavePwCheck);

    auto* characterGroup = new QGroupBox(" Character ", this);
    auto* characterLayout = new QFormLayout(characterGroup);
    NameEdit = MakeEdit(characterGroup, "NameEdit", 15);
    RaceEdit = MakeEdit(characterGroup, "RaceEdit", 15);
    GenderRadio = new QGroupBox(" Gender ", characterGroup);
    GenderRadio->setObjectName("GenderRadio");
    auto* genderLayout = new QHBoxLayout(GenderRadio);
    genderChoices = new QButtonGroup(this);
    const char* genderNames[] = {"MaleRadio", "FemaleRadio", "NeuterRadio"};
    const char* genderCaptions[] = {"Male", "Female", "Neuter"};
    for (int i = 0; i < 3; ++i) {
        auto* choice = new QRadioButton(genderCaptions[i], GenderRadio);
        choice->setObjectName(genderNames[i]);
        genderChoices->addButton(choice, i);
        genderLayout->addWidget(choice);
    }
    genderChoices->button(1)->setChecked(true);
    characterLayout->addRow("Name", NameEdit);
    characterLayout->addRow("Species", RaceEdit);
    characterLayout->addRow(GenderRadio);

    auto* ImagePanel = new QLabel(this);
    ImagePanel->setObjectName("ImagePanel");
    ImagePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ImagePanel->setPixmap(AccountPicture(96, 96));
    ImagePanel->setFixedSize(ImagePanel->sizeHint());

    auto* statsGroup = new QGroupBox(" Stats ", this);
    auto* statsLayout = new QGridLayout(statsGroup);
    struct StatRow {
        QLineEdit*& edit;
        SpinControl*& spin;
        const char* editName;
        const char* spinName;
        const char* caption;
    };
    const StatRow rows[] = {
        {StrEdit, StrSpin, "StrEdit", "StrSpin", "Strength"},
        {StaEdit, UpDown1, "StaEdit", "UpDown1", "Stamina"},
        {DexEdit, DexSpin, "DexEdit", "DexSpin", "Dexterity"},
        {IntEdit, UpDown2, "IntEdit", "UpDown2", "Intelligence"},
    };
    int row = 0;
    for (const StatRow& stat : rows) {
        stat.edit = MakeEdit(statsGroup, stat.editName, 2);
        stat.edit->setReadOnly(true);
        stat.edit->setFixedWidth(32);
        stat.spin = new SpinControl(stat.edit, kStatMinimum, kStatMaximum, statsGroup);
        stat.spin->setObjectName(stat.spinName);
        stat.spin->SetChanging([this](SpinControl::Direction d) { return StatChange(d); });
        auto* caption = new QLabel(stat.caption, statsGroup);
        caption->setBuddy(stat.edit); // a screen reader names the figure by it
        statsLayout->addWidget(caption, row, 0);
        statsLayout->addWidget(stat.edit, row, 1);
        statsLayout->addWidget(stat.spin, row, 2);
        ++row;
    }
    auto* unusedGroup = new QGroupBox("Unused", statsGroup);
    auto* unusedLayout = new QVBoxLayout(unusedGroup);
    UnusedEdit = MakeEdit(unusedGroup, "UnusedEdit", 3);
    UnusedEdit->setReadOnly(true);
    UnusedEdit->setFixedWidth(40);
    UnusedEdit->setText(QString::number(kUnusedAtStart));
    unusedLayout->addWidget(UnusedEdit);
    statsLayout->addWidget(unusedGroup, 0, 3, 4, 1, Qt::AlignCenter);

    auto* serverGroup = new QGroupBox(" Server ", this);
    auto* serverLayout = new QFormLayout(serverGroup);
    HostEdit = MakeEdit(serverGroup, "HostEdit", 0);
    HostEdit->setText(kDefaultHost);
    PortEdit = MakeEdit(serverGroup, "PortEdit", 0);
    PortEdit->setText(QString::number(kDefaultPort));
    serverLayout->addRow("System Name", HostEdit);
    serverLayout->addRow("Port Number", PortEdit);

    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setAutoDefault(false);
    SendBtn = new QPushButton("Send to Server", this);
    SendBtn->setObjectName("SendBtn");
    SendBtn->setDefault(true);

    auto* left = new QVBoxLayout;
    left->addWidget(accountGroup);
    left->addWidget(serverGroup);
    auto* characterRow = new QHBoxLayout;
    characterRow->addWidget(characterGroup, 1);
    characterRow->addWidget(ImagePanel, 0, Qt::AlignTop);
    auto* right = new QVBoxLayout;
    right->addLayout(characterRow);
    right->addWidget(statsGroup);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelBtn);
    buttons->addWidget(SendBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a single, fixed border

    connect(SendBtn, &QPushButton::clicked, this, &TNewAccountForm::SendBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TNewAccountForm::CancelBtnClick);
}

void TNewAccountForm::Open(NewAccount& owner)
{
    account = &owner;
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
    account = nullptr;
}

void TNewAccountForm::reject()
{
    // Escape and the close box go through here: both respect the flag.
    if (FormCloseQuery())
        QDialog::reject();
}

void TNewAccountForm::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TNewAccountForm::CancelBtnClick()
{
    mayClose = true;
    QDialog::reject();
}

bool TNewAccountForm::StatChange(SpinControl::Direction direction)
{
    const int unused = UnusedEdit->text().toInt();
    switch (direction) {
    case SpinControl::Direction::Up:
        if (unused < 1) {
            QMessageBox::critical(this, "Error", "You have no stats left to allocate!");
            return false;
        }
        UnusedEdit->setText(QString::number(unused - 1));
        return true;
    case SpinControl::Direction::Down: UnusedEdit->setText(QString::number(unused + 1)); return true;
    case SpinControl::Direction::None: break;
    }
    return false;
}

void TNewAccountForm::Refuse(const QString& message)
{
    QMessageBox::critical(this, "Error", message);
}

bool TNewAccountForm::NameRuleHolds(const QString& name)
{
    // An empty name has nothing to object to here; the length checks catch it.
    if (name.isEmpty())
        return true;
    if (!IsLetter(name.front())) {
        Refuse("Name and species must start with a letter.");
        return false;
    }
    for (QChar c : name) {
        if (!IsLetterOrDigit(c)) {
            Refuse("Letters and numbers only in name and species");
            return false;
        }
    }
    return true;
}

bool TNewAccountForm::CheckEntries()
{
    if (HostEdit->text().isEmpty()) {
        Refuse("No host server name given");
        return false;
    }
    if (PortEdit->text().isEmpty()) {
        Refuse("No host port number given");
        return false;
    }
    if (IDEdit->text().size() < 5) {
        Refuse("Account IDs must be at least 5 letters");
        return false;
    }
    if (!NameRuleHolds(NameEdit->text()))
        return false;
    if (PwEdit->text().size() < 8) {
        Refuse("Passwordss must be at least 8 letters");
        return false;
    }
    if (NewAcCheck->isChecked() && PwConfEdit->text() != PwEdit->text()) {
        Refuse("Your password does not match the confirmation");
        PwEdit->clear();
        PwConfEdit->clear();
        return false;
    }
    if (NewAcCheck->isChecked() && !EMailEdit->text().contains(u'@')) {
        Refuse("Invalid e-mail address");
        return false;
    }
    if (NameEdit->text().size() < 3) {
        Refuse("Names must be at least 3 letters");
        return false;
    }
    if (!NameRuleHolds(NameEdit->text()))
        return false;
    if (RaceEdit->text().size() < 3) {
        Refuse("Species names must be at least 3 letters");
        return false;
    }
    if (!NameRuleHolds(RaceEdit->text()))
        return false;
    if (UnusedEdit->text().toInt() != 0) {
        QMessageBox question(QMessageBox::Critical, "Error", "You have not used all your stat points\nContinue anyway?",
            QMessageBox::Yes | QMessageBox::No, this);
        if (question.exec() != QMessageBox::Yes)
            return false;
    }
    return true;
}

std::string TNewAccountForm::GenderWord() const
{
    switch (genderChoices->checkedId()) {
    case 0: return "male";
    case 2: return "neuter";
    default: return "female";
    }
}

void TNewAccountForm::SendBtnClick()
{
    if (!CheckEntries()) {
        mayClose = false;
        return;
    }
    mayClose = true;
    if (account) {
        NewAccountDetails details;
        details.host = ToAnsi(HostEdit->text());
        details.port = ToAnsi(PortEdit->text());
        details.avatarName = ToAnsi(NameEdit->text());
        details.accountId = ToAnsi(IDEdit->text());
        details.password = ToAnsi(PwEdit->text());
        details.savePassword = SavePwCheck->isChecked();
        details.email = ToAnsi(EMailEdit->text());
        details.species = ToAnsi(RaceEdit->text());
        details.gender = GenderWord();
        details.strength = ToAnsi(StrEdit->text());
        details.stamina = ToAnsi(StaEdit->text());
        details.dexterity = ToAnsi(DexEdit->text());
        details.intelligence = ToAnsi(IntEdit->text());
        account->Send(details);
    }
    accept();
}
