#include "account/logon.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "account/account_picture.h"
#include "account/password_echo.h"
#include "base/ansi.h"

namespace {
QLineEdit* MakeEdit(QWidget* parent, const char* name, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}
} // namespace

TLogonForm::TLogonForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("LogonForm");
    setWindowTitle("Logon to Kyrnos II");
    setModal(true);

    auto* hostGroup = new QGroupBox("Host Computer", this);
    auto* hostLayout = new QFormLayout(hostGroup);
    HostEdit = MakeEdit(hostGroup, "HostEdit", 80);
    PortEdit = MakeEdit(hostGroup, "PortEdit", 8);
    hostLayout->addRow("System Name", HostEdit);
    hostLayout->addRow("Port Number", PortEdit);

    auto* accountGroup = new QGroupBox("Account Details", this);
    auto* accountLayout = new QFormLayout(accountGroup);
    KyrEdit = MakeEdit(accountGroup, "KyrEdit", 16);
    AccountEdit = MakeEdit(accountGroup, "AccountEdit", 32);
    PasswordEdit = MakeEdit(accountGroup, "PasswordEdit", 80);
    ShowAsterisks(PasswordEdit);
    SaveCheck = new QCheckBox("Save Password", accountGroup);
    SaveCheck->setObjectName("SaveCheck");
    SaveCheck->setLayoutDirection(Qt::RightToLeft); // caption left of the box
    DeleteBtn = MakeButton(accountGroup, "DeleteBtn", "Delete Current");
    accountLayout->addRow("Kyr Name (optional)", KyrEdit);
    accountLayout->addRow("Account ID", AccountEdit);
    accountLayout->addRow("Password", PasswordEdit);
    auto* accountButtons = new QHBoxLayout;
    accountButtons->addWidget(SaveCheck);
    accountButtons->addStretch();
    accountButtons->addWidget(DeleteBtn);
    accountLayout->addRow(accountButtons);

    auto* picture = new QLabel(this);
    picture->setObjectName("LogonImage");
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setPixmap(AccountPicture(72, 72));
    picture->setFixedSize(picture->sizeHint());

    auto* top = new QHBoxLayout;
    top->addWidget(hostGroup, 1);
    top->addWidget(picture, 0, Qt::AlignCenter);

    auto* buttonPanel = new QWidget(this);
    buttonPanel->setObjectName("ButtonPanel");
    auto* buttons = new QHBoxLayout(buttonPanel);
    buttons->setContentsMargins(0, 0, 0, 0);
    LastBtn = MakeButton(buttonPanel, "LastBtn", "Last   ");
    NextBtn = MakeButton(buttonPanel, "NextBtn", "Next ");
    OKBtn = MakeButton(buttonPanel, "OKBtn", "Connect");
    OKBtn->setDefault(true);
    CancelBtn = MakeButton(buttonPanel, "CancelBtn", "Cancel");
    for (QPushButton* button : {LastBtn, NextBtn, OKBtn, CancelBtn})
        buttons->addWidget(button);

    for (QFormLayout* form : {hostLayout, accountLayout}) {
        form->setVerticalSpacing(4);
        form->setContentsMargins(8, 4, 8, 6);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(accountGroup);
    layout->addWidget(buttonPanel);
    setFixedSize(358, 286);

    connect(NextBtn, &QPushButton::clicked, this, &TLogonForm::NextBtnClick);
    connect(LastBtn, &QPushButton::clicked, this, &TLogonForm::LastBtnClick);
    connect(DeleteBtn, &QPushButton::clicked, this, &TLogonForm::DeleteBtnClick);
    connect(SaveCheck, &QCheckBox::clicked, this, &TLogonForm::SaveCheckClick);
    connect(OKBtn, &QPushButton::clicked, this, &TLogonForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TLogonForm::Open(Login& owner)
{
    login = &owner;
    Fill(owner.WorkingCopy());
    modified = false;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    exec();
    login = nullptr;
}

void TLogonForm::Fill(const AccountRec& entry)
{
    // setText also clears each edit's modified-by-the-player state.
    HostEdit->setText(FromAnsi(entry.host));
    PortEdit->setText(QString::number(entry.port));
    KyrEdit->setText(FromAnsi(entry.avatarName));
    AccountEdit->setText(FromAnsi(entry.accountId));
    PasswordEdit->setText(FromAnsi(entry.password));
    SaveCheck->setChecked(entry.savePassword);
}

void TLogonForm::NextBtnClick()
{
    if (!login)
        return;
    login->Next();
    Fill(login->WorkingCopy());
    modified = false;
}

void TLogonForm::LastBtnClick()
{
    if (!login || !login->Last())
        return;
    Fill(login->WorkingCopy());
    modified = false;
}

void TLogonForm::DeleteBtnClick()
{
    if (login
        && QMessageBox::question(
               this, "Confirm", "Delete entry. Are you sure?", QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes) {
        login->Delete();
        Fill(login->WorkingCopy());
    }
    modified = false;
}

void TLogonForm::SaveCheckClick()
{
    modified = true;
}

void TLogonForm::OKBtnClick()
{
    for (const QLineEdit* edit : {HostEdit, PortEdit, KyrEdit, AccountEdit, PasswordEdit})
        if (edit->isModified())
            modified = true;
    if (login) {
        const AccountRec& shown = login->WorkingCopy();
        // What the box shows is what is stored, however it came to differ.
        if (SaveCheck->isChecked() != shown.savePassword)
            modified = true;
        if (PortEdit->isModified()) {
            const int32_t port = PortFromText(ToAnsi(PortEdit->text()));
            if (port < 0 || port > 65535) {
                QMessageBox::critical(this, "Error", "The port number must be between 0 and 65535.", QMessageBox::Ok);
                PortEdit->setFocus();
                return;
            }
        }
        // An edit the player did not touch keeps the stored value, even one
        // longer than the edit holds.
        auto value = [](const QLineEdit* edit, const std::string& stored) {
            return edit->isModified() ? ToAnsi(edit->text()) : stored;
        };
        LogonEdits edits;
        edits.host = value(HostEdit, shown.host);
        edits.port = value(PortEdit, std::to_string(shown.port));
        edits.avatarName = value(KyrEdit, shown.avatarName);
        edits.accountId = value(AccountEdit, shown.accountId);
        edits.password = value(PasswordEdit, shown.password);
        edits.savePassword = SaveCheck->isChecked();
        login->Accept(edits, modified);
    }
    accept();
}
