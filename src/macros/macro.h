#pragma once
// The twelve F-key macros: slot n belongs to key Fn. Pressing a key sends its
// lines; Ctrl with the key copies them into an edit box for changing.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "macros/macro_rec.h"
#include "settings/init.h"

class MainView;
class QPlainTextEdit;

class Macro : public MacroSettings {
public:
    static constexpr int kFirstKey = 1;
    static constexpr int kLastKey = 12;

    explicit Macro(MainView& view);

    // Called after a macro has been stored, so it reaches init.xml at once.
    void SetWriteSettings(std::function<void()> write);

    // Every operation taking a key ignores keys outside 1 to 12.

    // Replaces the slot's record; a record for another key is dropped.
    void SetRecord(int key, std::unique_ptr<MacroRec> record);
    void SetMacro(int key, std::vector<std::string> commandLines) override;
    // Sends each line with a line feed; an empty slot sends nothing.
    void Send(int key);
    // Appends the key's lines to the edit, one per line.
    void Paste(int key, QPlainTextEdit& edit) const;
    // Stores the memo's non-empty lines as the key's macro (an empty memo
    // keeps a macro without lines), then writes the settings.
    void Save(int key, const std::vector<std::string>& memoLines);
    // The slot's record, or null when the slot is empty or the key invalid.
    const MacroRec* Record(int key) const;

    // The key the editor shows; 0 until it has shown one.
    int EditKey() const { return editKey; }
    void SetEditKey(int key);

    std::string MacroBlocks() const override;

private:
    static bool ValidKey(int key) { return key >= kFirstKey && key <= kLastKey; }
    std::unique_ptr<MacroRec>& Slot(int key) { return records[static_cast<size_t>(key - 1)]; }

    MainView& view;
    std::array<std::unique_ptr<MacroRec>, kLastKey> records;
    int editKey = 0;
    std::function<void()> writeSettings;
};
