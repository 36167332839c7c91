#pragma once
// "Friend Alerts": the dialog behind "Friends Set Up...", where the player
// chooses the ranks and the names to be told about. It is not modal; it
// shows the model when it appears and changes it only on OK.

#include <array>

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class Friends;

class TFriendsForm : public QDialog {
    Q_OBJECT
public:
    explicit TFriendsForm(Friends& model, QWidget* parent = nullptr);

    // Fills the dialog from the model and shows it.
    void Open();

private:
    void FormShow();
    void AddBtnClick();
    void DeleteBtnClick();
    void OKBtnClick();
    void AddListItem(const QString& name);

    Friends& model;
    std::array<QCheckBox*, 16> rankChecks{};
    QListWidget* friendsList = nullptr;
    QLineEdit* newEdit = nullptr;
    QCheckBox* audioCheck = nullptr;
    QPushButton* okBtn = nullptr;
};
