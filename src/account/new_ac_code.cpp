#include "account/new_ac_code.h"

#include "account/login_code.h"
#include "views/mainview.h"

NewAccount::NewAccount(MainView& view, Init& init, NewAccountPrompt& prompt)
    : view(view)
    , init(init)
    , prompt(prompt)
    , ownRecord(std::make_unique<AccountRec>())
{
    record = ownRecord.get();
    record->host = kDefaultHost;
    record->port = kDefaultPort;
    state = WaitLogin;
    prompt.Open(*this);
}

NewAccount::~NewAccount() = default;

void NewAccount::Send(const NewAccountDetails& details)
{
    record->host = details.host;
    record->port = PortFromText(details.port);
    record->avatarName = details.avatarName;
    record->accountId = details.accountId;
    record->password = details.password;
    record->current = true;
    record->savePassword = details.savePassword;
    record->email = details.email;
    record->species = details.species;
    record->gender = details.gender;
    record->strength = details.strength;
    record->stamina = details.stamina;
    record->dexterity = details.dexterity;
    record->intelligence = details.intelligence;

    // Later sends (after a refusal) have just updated the entry in place.
    if (ownRecord)
        init.AddAccount(std::move(ownRecord));
    init.WriteSettings();

    switch (state) {
    case WaitLogin: view.OpenConnection(record->host, record->port, record->avatarName); break;
    case IdRefused:
        view.SendText(record->accountId + "\n");
        state = WaitPassword;
        break;
    case NameRefused: state = WaitNamePrompt; break;
    default: break;
    }
}

int NewAccount::HandleLine(const std::string& line)
{
    auto holds = [&line](const char* fragment) { return line.find(fragment) != std::string::npos; };
    auto reply = [this](const std::string& text) { view.SendText(text + "\n"); };

    switch (state) {
    case WaitLogin:
        if (holds("ogin:")) {
            reply("new");
            state = WaitIdPrompt;
        }
        break;
    case WaitIdPrompt:
        if (holds("numbers only):") || holds("name for your character.")) {
            reply(record->accountId);
            state = WaitPassword;
        }
        break;
    case WaitPassword:
        if (holds("15 letters):")) {
            reply(record->password);
            state = WaitConfirm;
        }
        break;
    case WaitConfirm:
        if (holds("confirm password:")) {
            reply(record->password);
            state = WaitEmail;
        }
        break;
    case WaitEmail:
        if (holds("processing agency):")) {
            reply(record->email);
            state = WaitNamePrompt;
        }
        break;
    case WaitNamePrompt:
        if (holds("provide a name")) {
            reply(record->avatarName);
            state = WaitSpecies;
        }
        if (holds("different name.")) {
            view.ShowMessage(MessageKind::Information,
                "The account ID you have choosen is already in use\n"
                "Please try another ID.");
            state = IdRefused;
            prompt.Open(*this);
        }
        break;
    case WaitSpecies:
        if (holds("choose the race")) {
            reply(record->species);
            state = WaitGender;
        }
        break;
    case WaitGender:
        if (holds("choose the gender")) {
            reply(record->gender);
            view.SendText("no\n");
            state = WaitStats;
        }
        break;
    case WaitStats:
        if (holds("allocate to strength"))
            reply(record->strength);
        if (holds("allocate to stamina"))
            reply(record->stamina);
        if (holds("allocate to dexterity")) {
            reply(record->dexterity);
            state = WaitPlay;
        }
        break;
    case WaitPlay:
        if (holds("play using this char")) {
            reply("yes");
            state = WaitLink;
        }
        break;
    case WaitLink:
        if (holds("inking to Kyrnos")) {
            view.DisplayText(line);
            return 1;
        }
        if (holds("not available.")) {
            state = NameRefused;
            view.ShowMessage(MessageKind::Information,
                "The avatar name you have choosen is already in use\n"
                "Please try another name.");
            prompt.Open(*this);
        }
        break;
    default:
        // Waiting for the dialog after a refusal: nothing is shown.
        return 0;
    }
    view.DisplayText(line);
    return 0;
}
