#include "conversation.h"

namespace {

bool isYes(const QString& s)
{
    const QString t = s.trimmed().toLower();
    return t == QLatin1String("yes") || t == QLatin1String("y");
}

bool isNo(const QString& s)
{
    const QString t = s.trimmed().toLower();
    return t == QLatin1String("no") || t == QLatin1String("n");
}

bool isAlnum(const QString& s)
{
    for (QChar c : s) {
        if (c.unicode() > 127 || !c.isLetterOrNumber())
            return false;
    }
    return true;
}

constexpr int kStatPoints = 140;
constexpr int kStatMin = 20;
constexpr int kStatMax = 70;

} // namespace

bool isGoodName(const QString& name, int min, int max)
{
    return name.size() >= min && name.size() <= max && name[0].isLetter() && isAlnum(name);
}

// ---------------------------------------------------------------- logon

LogonConversation::LogonConversation(SendFn send, int maxAttempts)
    : send_(std::move(send))
    , maxAttempts_(maxAttempts)
{
}

void LogonConversation::start()
{
    send_(QStringLiteral("Welcome to Kyrnos II, the trading world of the Kyrn system."));
    send_(QStringLiteral("Give your account ID, or new to create an account and avatar."));
    askLogin();
}

void LogonConversation::askLogin()
{
    state_ = State::Login;
    send_(QStringLiteral("Kyrnos II login:"));
}

Outcome LogonConversation::feed(const QString& raw)
{
    const QString line = raw.trimmed();
    switch (state_) {
    case State::Login:
        if (line.isEmpty()) {
            askLogin();
            return Outcome::Continue;
        }
        if (line.compare(QLatin1String("new"), Qt::CaseInsensitive) == 0)
            return Outcome::NewAccount;
        id_ = line;
        state_ = State::Password;
        send_(QStringLiteral("Account password:"));
        return Outcome::Continue;
    case State::Password: password_ = line; return Outcome::CheckPassword;
    case State::Retry:
        if (isYes(line))
            return Outcome::NewAccount;
        if (isNo(line)) {
            askLogin();
            return Outcome::Continue;
        }
        send_(QStringLiteral("Please answer yes or no."));
        return Outcome::Continue;
    }
    return Outcome::Continue;
}

Outcome LogonConversation::passwordChecked(Account* account)
{
    password_.clear();
    account_ = account;
    if (account_) {
        send_(QStringLiteral("Identity confirmed. Welcome back, %1.").arg(account_->avatar.name));
        send_(QStringLiteral("Linking to Kyrnos DataSpace..."));
        return Outcome::LoggedIn;
    }
    if (++failures_ >= maxAttempts_) {
        send_(QStringLiteral("The account ID or password is wrong. Too many failed attempts, goodbye."));
        return Outcome::Quit;
    }
    state_ = State::Retry;
    send_(QStringLiteral("Sorry, the account ID or password is wrong."));
    send_(QStringLiteral("Would you like to create a new account instead? (yes/no)"));
    return Outcome::Continue;
}

// ---------------------------------------------------------- new account

NewAccountConversation::NewAccountConversation(AccountStore& store, NameClaims& claims, Place start, SendFn send)
    : store_(store)
    , claims_(claims)
    , start_(std::move(start))
    , send_(std::move(send))
{
}

void NewAccountConversation::start()
{
    send_(QStringLiteral("Creating a new account and avatar."));
    ask(State::Id);
}

void NewAccountConversation::ask(State s)
{
    state_ = s;
    switch (s) {
    case State::Id: send_(QStringLiteral("Choose an account ID (5 to 23 letters and numbers only):")); break;
    case State::Password: send_(QStringLiteral("Choose a password (8 to 15 letters):")); break;
    case State::Confirm: send_(QStringLiteral("Please confirm password:")); break;
    case State::Email:
        send_(QStringLiteral("Your e-mail address (kept private by the account processing agency):"));
        break;
    case State::Name:
        send_(QStringLiteral("Now please provide a name for your avatar (3 to 15 letters and numbers):"));
        break;
    case State::Race:
        send_(QStringLiteral("Now choose the race of your avatar (3 to 15 letters, for example Human):"));
        break;
    case State::Gender: send_(QStringLiteral("Now choose the gender of your avatar (male, female or neuter):")); break;
    case State::AutoStats: send_(QStringLiteral("Shall the stats be allocated for you? (yes/no)")); break;
    case State::Strength:
        send_(QStringLiteral("You have %1 points to spread over four stats, %2 to %3 each.")
                  .arg(kStatPoints)
                  .arg(kStatMin)
                  .arg(kStatMax));
        send_(QStringLiteral("How many points do you want to allocate to strength?"));
        break;
    case State::Stamina: send_(QStringLiteral("How many points do you want to allocate to stamina?")); break;
    case State::Dexterity: send_(QStringLiteral("How many points do you want to allocate to dexterity?")); break;
    case State::Play:
        send_(QStringLiteral("%1, a %2 %3: strength %4, stamina %5, dexterity %6, intelligence %7.")
                  .arg(name_, gender_, race_)
                  .arg(strength_)
                  .arg(stamina_)
                  .arg(dexterity_)
                  .arg(intelligence_));
        send_(QStringLiteral("Do you want to play using this character? (yes/no)"));
        break;
    }
}

bool NewAccountConversation::takeStat(const QString& line, int& value, int statsAfter)
{
    bool ok = false;
    const int v = line.trimmed().toInt(&ok);
    const int used = strength_ + stamina_ + dexterity_;
    // Leave at least the minimum for every stat still to come.
    const int most = qMin(kStatMax, kStatPoints - used - kStatMin * statsAfter);
    if (!ok || v < kStatMin || v > most) {
        send_(QStringLiteral("Please give a number from %1 to %2.").arg(kStatMin).arg(most));
        return false;
    }
    value = v;
    return true;
}

void NewAccountConversation::finishStats()
{
    const int rest = kStatPoints - strength_ - stamina_ - dexterity_;
    intelligence_ = qMin(kStatMax, rest);
    send_(QStringLiteral("The remaining %1 points go to intelligence (at most %2).").arg(rest).arg(kStatMax));
    ask(State::Play);
}

Outcome NewAccountConversation::feed(const QString& raw)
{
    const QString line = raw.trimmed();
    switch (state_) {
    case State::Id:
        if (line.size() < 5 || line.size() > 23 || !isAlnum(line)) {
            send_(QStringLiteral("An account ID has 5 to 23 letters and numbers."));
            ask(State::Id);
        } else {
            id_ = line;
            ask(State::Password);
        }
        break;
    case State::Password:
        if (line.size() < 8 || line.size() > 15) {
            send_(QStringLiteral("A password has 8 to 15 letters."));
            ask(State::Password);
        } else {
            password_ = line;
            ask(State::Confirm);
        }
        break;
    case State::Confirm:
        if (line != password_) {
            send_(QStringLiteral("The passwords do not match."));
            ask(State::Password);
        } else {
            ask(State::Email);
        }
        break;
    case State::Email:
        if (!line.contains(QLatin1Char('@')) || line.size() > 79) {
            send_(QStringLiteral("That does not look like an e-mail address."));
            ask(State::Email);
        } else {
            email_ = line;
            idClaim_.reset(); // a claim from an earlier try must not block this one
            if (!store_.find(id_))
                idClaim_ = claims_.claimAccountId(id_);
            if (idClaim_.held()) {
                ask(State::Name);
            } else {
                send_(QStringLiteral("The account ID %1 is already in use, please choose a different name.").arg(id_));
                ask(State::Id);
            }
        }
        break;
    case State::Name:
        if (!isGoodName(line, 3, 15)) {
            send_(QStringLiteral("A name starts with a letter and has 3 to 15 letters and numbers."));
            ask(State::Name);
        } else {
            name_ = line.left(1).toUpper() + line.mid(1);
            ask(State::Race);
        }
        break;
    case State::Race:
        if (!isGoodName(line, 3, 15)) {
            send_(QStringLiteral("A race starts with a letter and has 3 to 15 letters and numbers."));
            ask(State::Race);
        } else {
            race_ = line;
            ask(State::Gender);
        }
        break;
    case State::Gender: {
        const QString g = line.toLower();
        if (g != QLatin1String("male") && g != QLatin1String("female") && g != QLatin1String("neuter")) {
            send_(QStringLiteral("Please answer male, female or neuter."));
            ask(State::Gender);
        } else {
            gender_ = g;
            ask(State::AutoStats);
        }
        break;
    }
    case State::AutoStats:
        if (isYes(line)) {
            strength_ = stamina_ = dexterity_ = 35;
            finishStats();
        } else if (isNo(line)) {
            strength_ = stamina_ = dexterity_ = 0;
            ask(State::Strength);
        } else {
            ask(State::AutoStats);
        }
        break;
    case State::Strength:
        if (takeStat(line, strength_, 3))
            ask(State::Stamina);
        break;
    case State::Stamina:
        if (takeStat(line, stamina_, 2))
            ask(State::Dexterity);
        break;
    case State::Dexterity:
        if (takeStat(line, dexterity_, 1))
            finishStats();
        break;
    case State::Play:
        if (isNo(line)) {
            ask(State::Name);
        } else if (!isYes(line)) {
            ask(State::Play);
        } else {
            nameClaim_.reset();
            if (!store_.findByAvatar(name_))
                nameClaim_ = claims_.claimAvatarName(name_);
            if (nameClaim_.held())
                return Outcome::CreateAccount;
            send_(QStringLiteral("The name %1 is not available.").arg(name_));
            ask(State::Name);
        }
        break;
    }
    return Outcome::Continue;
}

void NewAccountConversation::create(Credentials credentials)
{
    password_.clear();
    const Avatar avatar
        = Avatar::newcomer(name_, race_, gender_, strength_, stamina_, dexterity_, intelligence_, start_);
    account_ = &store_.create(id_, std::move(credentials), email_, avatar);
}

Outcome NewAccountConversation::stored(const QString& error)
{
    if (!error.isEmpty()) {
        saveError_ = error;
        store_.remove(account_);
        account_ = nullptr;
        send_(QStringLiteral("The account could not be stored; please try again later."));
        return Outcome::Quit;
    }
    send_(QStringLiteral("Your account %1 is ready.").arg(id_));
    send_(QStringLiteral("Linking to Kyrnos DataSpace..."));
    return Outcome::LoggedIn;
}
