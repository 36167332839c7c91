#pragma once
// A recording stand-in for the "TB" page of the main window.

#include <string>
#include <vector>

#include "social/tb_code.h"

class FakeTightBeamView : public TightBeamView {
public:
    enum class Page { None, TightBeam, Reports };
    Page page = Page::None;
    std::string caption = "Connection not yet initiated";
    std::vector<std::string> transcript;
    std::string picture;
    std::string input;
    int prefills = 0;

    void ShowTightBeamPage() override { page = Page::TightBeam; }
    void ShowReportsPage() override { page = Page::Reports; }
    void SetTightBeamCaption(const std::string& text) override { caption = text; }
    void ClearTightBeamTranscript() override { transcript.clear(); }
    void AddTightBeamLine(const std::string& text) override { transcript.push_back(text); }
    void LoadTightBeamPicture(const std::string& path) override { picture = path; }
    void PrefillInput(const std::string& text) override
    {
        input = text;
        ++prefills;
    }
};
