#include "social/tmc.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "social/tmc_code.h"

namespace {

const char* const kLetter = "Dear player,\n\n"
                            "Thanks to you, Kyrnos II has been voted into the top ten games on The Mud "
                            "Connector, the best known listing of online text games. Every vote brings "
                            "new players to Kyrn, and we would like to stay up there.\n\n"
                            "Please vote for us once a day. Click 'Vote Now' to open the voting page in "
                            "your web browser. If you have voted today already, click 'Already Voted' and "
                            "Orvix will remind you again in 24 hours. If you would rather not be "
                            "reminded, click 'Cancel' and the reminders stop.\n\n"
                            "Please do not vote more than once a day: The Mud Connector may cancel all "
                            "of the game's votes if it finds players voting more often.\n\n"
                            "Thank you for your help!\n\n"
                            "The Kyrnos II staff";

} // namespace

void MakeAqua(QWidget* widget)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, QColor(0, 255, 255));
    p.setColor(QPalette::Base, QColor(0, 255, 255));
    p.setColor(QPalette::WindowText, Qt::black);
    p.setColor(QPalette::Text, Qt::black);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void SetUpVotingWindow(QDialog* dialog, const char* name, const char* caption, int width, int height)
{
    dialog->setObjectName(name);
    dialog->setWindowTitle(caption);
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setModal(false);
    dialog->resize(width, height);
}

void AddVotingButtons(QDialog* dialog, QBoxLayout* layout, Tmc& tmc)
{
    auto* row = new QHBoxLayout;
    auto add = [&](const char* caption, const char* name, void (Tmc::*answer)()) {
        auto* button = new QPushButton(caption);
        button->setObjectName(name);
        QObject::connect(button, &QPushButton::clicked, dialog, [dialog, &tmc, answer] {
            (tmc.*answer)();
            dialog->close();
        });
        row->addWidget(button);
        return button;
    };
    QPushButton* vote = add("Vote Now", "VoteBtn", &Tmc::Vote);
    vote->setDefault(true);
    vote->setAutoDefault(true);
    add("Already Voted", "AlreadyBtn", &Tmc::AlreadyVoted);
    add("Cancel", "CancelBtn", &Tmc::Cancel);
    layout->addLayout(row);
}

TTmcForm::TTmcForm(Tmc& tmc, QWidget* parent)
    : QDialog(parent)
{
    SetUpVotingWindow(this, "TmcForm", "The Mud Connector", 497, 345);
    auto* layout = new QVBoxLayout(this);
    auto* memo = new QPlainTextEdit(kLetter);
    memo->setObjectName("TmcMemo");
    memo->setReadOnly(true);
    MakeAqua(memo);
    layout->addWidget(memo, 1);
    AddVotingButtons(this, layout, tmc);
}
