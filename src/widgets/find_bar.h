#pragma once
// The find bar over a text pane: Ctrl+F opens it, typing finds as you go,
// Enter / F3 go to the next match and Shift with them to the previous one,
// Escape closes it. It floats in the pane's top right corner, so the window's
// layout does not change.

#include <optional>

#include <QFrame>
#include <QPointer>

#include "widgets/text_finder.h"

class QCheckBox;
class QLabel;
class QLineEdit;

// What the bar searches and shows: a pane's lines, the current match, and
// every match highlighted.
class FindTarget {
public:
    virtual ~FindTarget() = default;
    virtual int FindLineCount() const = 0;
    virtual QString FindLineAt(int line) const = 0;
    // Selects the match and scrolls it into view.
    virtual void ShowFindMatch(const TextMatch& match) = 0;
    // An empty needle clears the highlight.
    virtual void SetFindHighlight(const QString& needle, Qt::CaseSensitivity cs) = 0;
};

class FindBar : public QFrame {
    Q_OBJECT
public:
    // The bar is a child of `pane`, which is also its FindTarget.
    FindBar(QWidget* pane, FindTarget& target);

    // Shows the bar with the focus in its edit; the focus goes back to where
    // it was when the bar closes.
    void Open();
    void Close();
    void FindNext(bool backward);

    QString StatusText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Search(bool backward, bool fromStartOfCurrent);
    void Place();
    Qt::CaseSensitivity CaseSensitivity() const;
    void UpdateHighlight();

    FindTarget& target;
    QLineEdit* edit;
    QCheckBox* matchCase;
    QCheckBox* highlightAll;
    QLabel* status;
    std::optional<TextMatch> current;
    QPointer<QWidget> returnFocus;
};
