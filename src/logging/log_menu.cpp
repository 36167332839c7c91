#include "logging/log_menu.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>

#include "base/ansi.h"
#include "widgets/textpane.h"

WindowLogMenu::WindowLogMenu(QWidget* parent, QAction* start, QAction* stop, const TextPane* storyPane)
    : window(parent)
    , startItem(start)
    , stopItem(stop)
    , story(storyPane)
{
}

void WindowLogMenu::SetLoggingItems(bool startEnabled, bool stopEnabled)
{
    if (startItem)
        startItem->setEnabled(startEnabled);
    if (stopItem)
        stopItem->setEnabled(stopEnabled);
}

std::optional<std::string> WindowLogMenu::ChooseLogFile(const std::string& title, const std::string& folder)
{
    QFileDialog dialog(window, QString::fromStdString(title), QFile::decodeName(folder.c_str()),
        "Orvix log files (*.log);;All Files (*)");
    dialog.setObjectName("OpenDialog");
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix("log");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}

std::string WindowLogMenu::StoryText() const
{
    return ToAnsi(story->Lines().join('\n'));
}
