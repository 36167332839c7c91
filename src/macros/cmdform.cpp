#include "macros/cmdform.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

#include "macros/macro.h"
#include "base/ansi.h"
#include "input/input.h"

TCommandForm::TCommandForm(PlayerInput& playerInput, Macro& macroStore, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
    , input(playerInput)
    , macros(macroStore)
{
    setObjectName("CommandForm");
    setWindowTitle("Enter Command");
    QFont font("Arial");
    font.setPixelSize(15);
    setFont(font);

    inputMemo = new QPlainTextEdit(this);
    inputMemo->setObjectName("InputMemo");
    inputMemo->installEventFilter(this);
    // The window is only two lines high; the edit's own minimum would grow it.
    inputMemo->setMinimumSize(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(inputMemo);
    resize(292, 62);
}

void TCommandForm::SetDetailGrid(QWidget* grid)
{
    detailGrid = grid;
}

void TCommandForm::Open()
{
    if (!placed) {
        placed = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
    inputMemo->setFocus(Qt::OtherFocusReason);
}

void TCommandForm::keyPressEvent(QKeyEvent* event)
{
    // Only Enter and the F-keys act here; Escape does not close the window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TCommandForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == inputMemo && event->type() == QEvent::KeyPress)
        pressModifiers.Pressed(*static_cast<QKeyEvent*>(event));
    if (watched == inputMemo && event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        // One key-up per press: held keys repeat presses only.
        if (!key->isAutoRepeat())
            InputMemoKeyUp(key->key(), pressModifiers.Released(*key));
    }
    return QDialog::eventFilter(watched, event);
}

void TCommandForm::InputMemoKeyUp(int key, Qt::KeyboardModifiers shift)
{
    if (IsEnterKey(key)) {
        input.Submit(ToAnsi(inputMemo->toPlainText()), true);
        inputMemo->clear();
        hide();
        if (detailGrid) {
            detailGrid->activateWindow();
            detailGrid->setFocus(Qt::OtherFocusReason);
        }
    } else if (const int n = FKeyNumber(key); n != 0) {
        if (shift.testFlag(Qt::ControlModifier))
            macros.Paste(n, *inputMemo);
        else
            macros.Send(n);
    }
}
