#pragma once
// A recording stand-in for the "TB" page of the main window: every call in
// order, as "Name" or "Name:argument", into its own log or a shared one.

#include <string>
#include <vector>

#include "social/tb_code.h"

class FakeTightBeamView : public TightBeamView {
public:
    explicit FakeTightBeamView(std::vector<std::string>* shared = nullptr) : log(shared ? *shared : calls) {}
    std::vector<std::string> calls;
    std::vector<std::string>& log;

    void ShowTightBeamPage() override { log.emplace_back("TbPage"); }
    void ShowReportsPage() override { log.emplace_back("TbReportsPage"); }
    void SetTightBeamCaption(const std::string& text) override { log.push_back("TbCaption:" + text); }
    void ClearTightBeamTranscript() override { log.emplace_back("TbClear"); }
    void AddTightBeamLine(const std::string& text) override { log.push_back("TbLine:" + text); }
    void LoadTightBeamPicture(const std::string& path) override { log.push_back("TbPicture:" + path); }
    void PrefillInput(const std::string& text) override { log.push_back("TbPrefill:" + text); }
};
