#include "macros/macro.h"

#include <QPlainTextEdit>

#include "markup/xml.h"
#include "base/ansi.h"
#include "views/mainview.h"

Macro::Macro(MainView& view)
    : view(view)
{
}

void Macro::SetWriteSettings(std::function<void()> write)
{
    writeSettings = std::move(write);
}

void Macro::SetRecord(int key, std::unique_ptr<MacroRec> record)
{
    if (ValidKey(key))
        Slot(key) = std::move(record);
}

void Macro::SetMacro(int key, std::vector<std::string> commandLines)
{
    SetRecord(key, std::make_unique<MacroRec>(std::move(commandLines)));
}

const MacroRec* Macro::Record(int key) const
{
    return ValidKey(key) ? records[static_cast<size_t>(key - 1)].get() : nullptr;
}

void Macro::Send(int key)
{
    const MacroRec* record = Record(key);
    if (!record)
        return;
    for (const std::string& line : record->Lines())
        view.SendText(line + "\n");
}

void Macro::Paste(int key, QPlainTextEdit& edit) const
{
    const MacroRec* record = Record(key);
    if (!record)
        return;
    for (const std::string& line : record->Lines())
        edit.appendPlainText(FromAnsi(line));
}

void Macro::Save(int key, const std::vector<std::string>& memoLines)
{
    if (!ValidKey(key))
        return;
    auto& slot = Slot(key);
    if (!slot)
        slot = std::make_unique<MacroRec>();
    slot->Clear();
    for (const std::string& line : memoLines)
        if (!line.empty())
            slot->Add(line);
    if (writeSettings)
        writeSettings();
}

void Macro::SetEditKey(int key)
{
    if (ValidKey(key))
        editKey = key;
}

std::string Macro::MacroBlocks() const
{
    std::string out;
    for (int key = kFirstKey; key <= kLastKey; ++key) {
        const MacroRec* record = Record(key);
        if (!record)
            continue;
        out += "   <macro key='" + std::to_string(key) + "'>\n";
        for (const std::string& line : record->Lines())
            out += "      <command>" + EscapeText(line) + "</command>\n";
        out += "   </macro>\n\n";
    }
    return out;
}
