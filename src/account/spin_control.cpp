#include "account/spin_control.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

SpinControl::SpinControl(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent)
    , buddy(buddy)
    , minimum(minimum)
    , maximum(maximum)
    , position(minimum)
{
    // Tab stops once per figure, on the edit that shows it (and that a
    // screen reader reads); the arrow keys there step the figure.
    setFocusPolicy(buddy ? Qt::ClickFocus : Qt::StrongFocus);
    if (buddy)
        buddy->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    upButton = new QToolButton(this);
    upButton->setObjectName("Up");
    upButton->setArrowType(Qt::UpArrow);
    downButton = new QToolButton(this);
    downButton->setObjectName("Down");
    downButton->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {upButton, downButton}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, 11);
        layout->addWidget(button);
    }
    connect(upButton, &QToolButton::clicked, this, &SpinControl::StepUp);
    connect(downButton, &QToolButton::clicked, this, &SpinControl::StepDown);
    SetPosition(minimum);
}

void SpinControl::SetPosition(int value)
{
    position = std::clamp(value, minimum, maximum);
    if (buddy)
        buddy->setText(QString::number(position));
}

void SpinControl::Step(Direction direction)
{
    const int next = position + (direction == Direction::Up ? 1 : -1);
    if (next < minimum || next > maximum)
        return;
    // A held arrow keeps firing under a message box the owner opened: those
    // steps are not asked for, and a refused step lets go of the arrows.
    if (asking)
        return;
    if (changing) {
        asking = true;
        const bool allowed = changing(direction);
        asking = false;
        if (!allowed) {
            upButton->setDown(false);
            downButton->setDown(false);
            return;
        }
    }
    SetPosition(next);
}

void SpinControl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up)
        StepUp();
    else if (event->key() == Qt::Key_Down)
        StepDown();
    else
        QWidget::keyPressEvent(event);
}

bool SpinControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            key == Qt::Key_Up ? StepUp() : StepDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SpinControl::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta > 0)
        StepUp();
    else if (delta < 0)
        StepDown();
    event->accept();
}
