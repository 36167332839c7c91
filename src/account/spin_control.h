#pragma once
// A pair of up and down arrows beside a read-only edit, stepping a bounded
// position that the edit shows. Before each step the owner is asked whether
// to allow it; a step past a bound is never asked for.

#include <functional>

#include <QWidget>

class QLineEdit;
class QToolButton;

class SpinControl : public QWidget {
    Q_OBJECT
public:
    enum class Direction { None, Up, Down };

    SpinControl(QLineEdit* buddy, int minimum, int maximum, QWidget* parent = nullptr);

    void SetChanging(std::function<bool(Direction)> handler) { changing = std::move(handler); }
    void SetPosition(int value);
    int Position() const { return position; }

public slots:
    void StepUp() { Step(Direction::Up); }
    void StepDown() { Step(Direction::Down); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Step(Direction direction);

    QLineEdit* buddy;
    QToolButton* upButton;
    QToolButton* downButton;
    int minimum;
    int maximum;
    int position;
    std::function<bool(Direction)> changing;
    bool asking = false;
};
