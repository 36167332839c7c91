#pragma once
// The two conversations a client has before it enters the game: logging on
// to an existing account, and creating a new account with its avatar. Each
// takes one line at a time and says what happened; what they send goes
// through the function given to them.

#include "accountstore.h"

#include <QString>

#include <functional>

using SendFn = std::function<void(const QString&)>;

// Names that are in use or being chosen right now, shared by all sessions.
class NameClaims {
public:
    virtual ~NameClaims() = default;
    // True when the name is free and now held for `owner` (who may claim again).
    virtual bool claimAccountId(const QString& id, const void* owner) = 0;
    virtual bool claimAvatarName(const QString& name, const void* owner) = 0;
    virtual void release(const void* owner) = 0;
};

enum class Outcome { Continue, LoggedIn, NewAccount, Quit };

class LogonConversation {
public:
    LogonConversation(AccountStore& store, SendFn send, int maxAttempts = 5);

    void start();  // the greeting and the first prompt
    Outcome feed(const QString& line);
    Account* account() const { return account_; }

private:
    enum class State { Login, Password, Retry };
    void askLogin();

    AccountStore& store_;
    SendFn send_;
    int maxAttempts_;
    int failures_ = 0;
    State state_ = State::Login;
    QString id_;
    Account* account_ = nullptr;
};

class NewAccountConversation {
public:
    NewAccountConversation(AccountStore& store, NameClaims& claims, Place start, SendFn send);

    void start();
    // LoggedIn once the account exists and is saved.
    Outcome feed(const QString& line);
    Account* account() const { return account_; }
    QString saveError() const { return saveError_; }

private:
    enum class State {
        Id, Password, Confirm, Email, Name, Race, Gender, AutoStats,
        Strength, Stamina, Dexterity, Play
    };
    void ask(State s);
    bool takeStat(const QString& line, int& value, int statsAfter);
    void finishStats();
    void create();

    AccountStore& store_;
    NameClaims& claims_;
    Place start_;
    SendFn send_;
    State state_ = State::Id;
    QString id_, password_, email_, name_, race_, gender_;
    int strength_ = 0, stamina_ = 0, dexterity_ = 0, intelligence_ = 0;
    Account* account_ = nullptr;
    QString saveError_;
};

// Letters and digits only, starting with a letter, length in [min, max].
bool isGoodName(const QString& name, int min, int max);
