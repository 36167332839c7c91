#pragma once
// The logon dialog: pick or edit one of the stored accounts and connect.

#include <QDialog>

#include "account/login_code.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class TLogonForm : public QDialog, public LogonPrompt {
    Q_OBJECT
public:
    explicit TLogonForm(QWidget* parent = nullptr);

    // Shows the login's working copy and runs the dialog modally.
    void Open(Login& login) override;

    bool Modified() const { return modified; }

private slots:
    void NextBtnClick();
    void LastBtnClick();
    void DeleteBtnClick();
    void SaveCheckClick();
    void OKBtnClick();

private:
    void Fill(const AccountRec& entry);
    void ClearModified();

    QLineEdit* HostEdit;
    QLineEdit* PortEdit;
    QLineEdit* KyrEdit;
    QLineEdit* AccountEdit;
    QLineEdit* PasswordEdit;
    QCheckBox* SaveCheck;
    QPushButton* DeleteBtn;
    QPushButton* LastBtn;
    QPushButton* NextBtn;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    Login* login = nullptr;
    // Whether the player changed anything since an entry was last shown.
    bool modified = false;
};
