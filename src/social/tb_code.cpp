#include "social/tb_code.h"

#include "base/ansi_case.h"
#include "base/datafiles.h"
#include "views/mainview.h"

namespace {
const std::string kPictures = "pictures";
const std::string kInterference = "interference.bmp";
} // namespace

TightBeam::TightBeam(MainView& v, TightBeamView& p)
    : view(v)
    , page(p)
{
}

void TightBeam::OpenSelected(const std::string& selected)
{
    if (selected.empty()) {
        view.ShowMessage(MessageKind::Error, "You haven't selected\na player to talk to!\n");
        return;
    }
    Open(selected);
}

void TightBeam::Open(const std::string& name)
{
    partner = name;
    page.ShowTightBeamPage();
    page.SetTightBeamCaption(name + " - Tight Beam Comms");
    page.ClearTightBeamTranscript();

    std::string picture = name;
    if (!picture.empty())
        picture[0] = AnsiToLower(picture[0]);
    std::string path = FindNamedDataFile(kPictures, picture + ".bmp");
    if (path.empty())
        path = FindNamedDataFile(kPictures, kInterference);
    // Without any picture the opening stops here, input line untouched.
    if (path.empty())
        return;
    page.LoadTightBeamPicture(path);
    page.PrefillInput("Tell " + name + " ");
}

void TightBeam::Close()
{
    partner.clear();
    page.ClearTightBeamTranscript();
    page.SetTightBeamCaption("Tight beam connection cleared");
    const std::string path = FindNamedDataFile(kPictures, kInterference);
    if (!path.empty())
        page.LoadTightBeamPicture(path);
    page.ShowReportsPage();
}

void TightBeam::Outgoing(const std::string& remainder)
{
    if (partner.empty())
        return;
    const std::size_t blank = remainder.find(' ');
    if (blank == std::string::npos)
        return;
    if (Capitalised(remainder.substr(0, blank)) == partner)
        page.AddTightBeamLine("You say, \"" + remainder.substr(blank + 1) + ".\"");
}

void TightBeam::Incoming(const std::string& sender, const std::string& text)
{
    view.DisplayText("Your comm unit signals a tight beam message from " + sender + ", \"" + text + "\"");
    if (!partner.empty() && sender == partner)
        page.AddTightBeamLine(sender + " says, \"" + text + "\"");
}
