#pragma once
// The new account and avatar dialog: checks what the player typed and hands
// it to the account-creation conversation. Created once; it keeps what was
// typed between uses.

#include <QDialog>

#include "account/new_ac_code.h"
#include "account/spin_control.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

class TNewAccountForm : public QDialog, public NewAccountPrompt {
    Q_OBJECT
public:
    explicit TNewAccountForm(QWidget* parent = nullptr);

    void Open(NewAccount& account) override;

    bool MayClose() const { return mayClose; }

public slots:
    void reject() override;

private slots:
    void SendBtnClick();
    void CancelBtnClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool FormCloseQuery() const { return mayClose; }
    bool StatChange(SpinControl::Direction direction);
    // Runs the checks in order; false (after telling the player) at the
    // first that fails.
    bool CheckEntries();
    bool NameRuleHolds(const QString& name);
    void Refuse(const QString& message);
    std::string GenderWord() const;

    QLineEdit* IDEdit;
    QCheckBox* NewAcCheck;
    QLineEdit* PwEdit;
    QLineEdit* PwConfEdit;
    QLineEdit* EMailEdit;
    QCheckBox* SavePwCheck;
    QLineEdit* NameEdit;
    QLineEdit* RaceEdit;
    QGroupBox* GenderRadio;
    QButtonGroup* genderChoices;
    QLineEdit* StrEdit;
    QLineEdit* StaEdit;
    QLineEdit* DexEdit;
    QLineEdit* IntEdit;
    SpinControl* StrSpin;
    SpinControl* UpDown1;
    SpinControl* DexSpin;
    SpinControl* UpDown2;
    QLineEdit* UnusedEdit;
    QLineEdit* HostEdit;
    QLineEdit* PortEdit;
    QPushButton* CancelBtn;
    QPushButton* SendBtn;

    NewAccount* account = nullptr;
    bool mayClose = true;
};
