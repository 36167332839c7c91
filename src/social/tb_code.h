#pragma once
// The tight beam: a private conversation with one other player at a time.
// The game carries the messages (the tell command out, s-tb in); this keeps
// a transcript of the conversation with the partner on the "TB" page.

#include <string>

class MainView;

// The "TB" page of the main window and the few other controls a tight beam
// touches.
class TightBeamView {
public:
    virtual ~TightBeamView() = default;
    virtual void ShowTightBeamPage() = 0;
    // Back to the "Ex/SP" page.
    virtual void ShowReportsPage() = 0;
    virtual void SetTightBeamCaption(const std::string& text) = 0;
    virtual void ClearTightBeamTranscript() = 0;
    virtual void AddTightBeamLine(const std::string& text) = 0;
    // Loads the bitmap at path into the partner's picture.
    virtual void LoadTightBeamPicture(const std::string& path) = 0;
    // Replaces the input line's text; focuses it, caret at the end, when the
    // "Main" page is showing.
    virtual void PrefillInput(const std::string& text) = 0;
};

class TightBeam {
public:
    TightBeam(MainView& view, TightBeamView& page);

    // "Tight Beam" of the player menu, with the selected name (empty when
    // nothing is selected).
    void OpenSelected(const std::string& selected);
    void Open(const std::string& name);
    // "End TB".
    void Close();
    // A line the player sent as "tb ..." or "tell ...", without that prefix
    // and its separator.
    void Outgoing(const std::string& remainder);
    // An s-tb message from the server.
    void Incoming(const std::string& sender, const std::string& text);

    const std::string& Partner() const { return partner; }

private:
    MainView& view;
    TightBeamView& page;
    std::string partner;
};
