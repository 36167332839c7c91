#include "support/box_answerer.h"

#include <QAbstractButton>
#include <QApplication>

BoxAnswerer::BoxAnswerer(QMessageBox::StandardButton answer) : answer(answer)
{
    connect(&timer, &QTimer::timeout, this, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        questions.push_back(box->text());
        buttons = box->standardButtons();
        box->button(this->answer)->click();
    });
    timer.start(5);
}
