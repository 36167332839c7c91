#pragma once
// The F-key editor: shows one key's macro at a time in a memo, steps through
// the keys, and stores the text when the player agrees. Not modal; it reopens
// at the key it showed last.

#include <QDialog>

class Macro;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;

class TMacroBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxChars = 400;

    explicit TMacroBox(Macro& store, QWidget* parent = nullptr);

    // Makes the editor visible (again) and brings it to the front.
    void Open();
    // Puts a key 1 to 12 into the editor; any other key changes nothing.
    void ShowKey(int key);
    int Key() const { return key; }

    void OkBtnClick();
    void NextBtnClick();
    void LastBtnClick();
    void CancelBtnClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    // Asks about unsaved changes of the memo and saves them on Yes.
    void OfferToSave();
    void LimitLength(int position, int added);

    Macro& store;
    int key = 0;
    bool filling = false;
    QGroupBox* fKeyGroup;
    QPlainTextEdit* fKeyMemo;
};
