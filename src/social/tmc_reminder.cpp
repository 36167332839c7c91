#include "social/tmc_reminder.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "social/tmc.h"

namespace {

const char* const kReminderLines[] = {
    "This is your daily reminder to vote for Kyrnos II on",
    "The Mud Connector. To vote now , click on the 'Vote'",
    "button. If you've already voted, click on the 'Already",
    "Voted' button  to continue with the daily reminders.",
    "To stop the reminders click on the 'Cancel' button.",
    "Thank you for your help building the Kyr community.",
};

} // namespace

TTmcReminderForm::TTmcReminderForm(Tmc& tmc, QWidget* parent)
    : QDialog(parent)
{
    SetUpVotingWindow(this, "TmcReminderForm", "TMC Voting Reminder", 376, 213);
    auto* layout = new QVBoxLayout(this);
    auto* panel = new QFrame;
    panel->setObjectName("ReminderPanel");
    MakeAqua(panel);
    auto* lines = new QVBoxLayout(panel);
    for (const char* text : kReminderLines)
        lines->addWidget(new QLabel(text));
    layout->addWidget(panel, 1);
    AddVotingButtons(this, layout, tmc);
}
