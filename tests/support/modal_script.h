#pragma once
// Answers modal windows as they open, so tests of dialogs never block: each
// modal window that shows takes the next step, in order. A modal window
// that finds no step left is closed and counted as unexpected.

#include <deque>
#include <functional>
#include <vector>

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

class QLineEdit;

class ModalScript : public QObject {
public:
    using Step = std::function<void(QWidget* window)>;

    ModalScript();
    ~ModalScript() override;

    ModalScript& Then(Step step);
    // A message box: its text is kept in `messages`, then `button` is pressed.
    ModalScript& Answer(QMessageBox::StandardButton button);

    bool Finished() const { return steps.empty(); }
    // Lets modal windows still open take their steps; returns at once, and
    // false, when none is open and steps are left.
    bool WaitFinished(int ms = 5000);

    std::vector<QString> messages; // the text of every message box shown
    std::vector<QMessageBox::Icon> icons; // and its icon
    int unexpected = 0; // modal windows that found no step

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Run(QPointer<QWidget> window);

    std::deque<Step> steps;
};

// Replaces an edit's text as if typed by the player (the edit's modified
// flag is set, its length limit holds).
void TypeInto(QLineEdit* edit, const QString& text);
// Clicks the button with this object name inside `window`; false if absent.
bool ClickButton(QWidget* window, const char* name);
