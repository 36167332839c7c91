#include "support/modal_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

ModalScript::ModalScript()
{
    qApp->installEventFilter(this);
}

ModalScript::~ModalScript()
{
    qApp->removeEventFilter(this);
}

ModalScript& ModalScript::Then(Step step)
{
    steps.push_back(std::move(step));
    return *this;
}

ModalScript& ModalScript::Answer(QMessageBox::StandardButton button)
{
    return Then([button](QWidget* window) {
        if (auto* box = qobject_cast<QMessageBox*>(window))
            box->button(button) ? box->button(button)->click() : box->done(QMessageBox::Cancel);
    });
}

bool ModalScript::WaitFinished(int ms)
{
    QCoreApplication::processEvents();
    return QTest::qWaitFor([this] { return Finished() || !QApplication::activeModalWidget(); }, ms) && Finished();
}

bool ModalScript::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = event->type() == QEvent::Show && watched->isWidgetType() ? static_cast<QWidget*>(watched) : nullptr;
    if (widget && widget->isWindow() && widget->isModal()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget)) {
            messages.push_back(box->text());
            icons.push_back(box->icon());
        }
        // Run the step from the event loop the modal window starts, so a
        // step may itself open further modal windows.
        QTimer::singleShot(0, this, [this, window = QPointer<QWidget>(widget)] { Run(window); });
    }
    return QObject::eventFilter(watched, event);
}

void ModalScript::Run(QPointer<QWidget> window)
{
    if (!window || !window->isVisible())
        return;
    if (steps.empty()) {
        ++unexpected;
        auto* dialog = qobject_cast<QDialog*>(window.data());
        dialog ? dialog->done(QDialog::Rejected) : void(window->close());
        return;
    }
    Step step = std::move(steps.front());
    steps.pop_front();
    step(window);
}

void TypeInto(QLineEdit* edit, const QString& text)
{
    // Not key by key: a compositor without a keyboard cannot take key events into an edit.
    edit->selectAll();
    edit->insert(text);
}

bool ClickButton(QWidget* window, const char* name)
{
    auto* button = window->findChild<QAbstractButton*>(name);
    if (button)
        button->click();
    return button != nullptr;
}
