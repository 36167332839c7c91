#pragma once
// The two conversations a client has before it enters the game: logging on
// to an existing account, and creating a new account with its avatar. Each
// takes one line at a time and says what happened; what they send goes
// through the function given to them.

#include "accountstore.h"
#include "nameclaims.h"

#include <QString>

#include <functional>

using SendFn = std::function<void(const QString&)>;

// CheckPassword and CreateAccount ask the caller for slow work (deriving a
// key) that must not hold up the event loop; the caller hands the result
// back with passwordChecked() or create().
enum class Outcome { Continue, LoggedIn, NewAccount, Quit, CheckPassword, CreateAccount };

class LogonConversation {
public:
    // The session looks the account up; the conversation only asks.
    explicit LogonConversation(SendFn send, int maxAttempts = 5);

    void start(); // the greeting and the first prompt
    Outcome feed(const QString& line);
    // After CheckPassword: the ID and password to check.
    QString id() const { return id_; }
    QString password() const { return password_; }
    // The account when the password was right, else null.
    Outcome passwordChecked(Account* account);
    Account* account() const { return account_; }

private:
    enum class State { Login, Password, Retry };
    void askLogin();

    SendFn send_;
    int maxAttempts_;
    int failures_ = 0;
    State state_ = State::Login;
    QString id_;
    QString password_;
    Account* account_ = nullptr;
};

class NewAccountConversation {
public:
    NewAccountConversation(AccountStore& store, NameClaims& claims, Place start, SendFn send);

    void start();
    // CreateAccount once everything is answered.
    Outcome feed(const QString& line);
    QString password() const { return password_; }
    // Adds the account to the store; the caller saves it and reports with
    // stored(): LoggedIn, or Quit (the account taken out again) on an error.
    void create(Credentials credentials);
    Outcome stored(const QString& error);
    Account* account() const { return account_; }
    QString saveError() const { return saveError_; }

private:
    enum class State {
        Id,
        Password,
        Confirm,
        Email,
        Name,
        Race,
        Gender,
        AutoStats,
        Strength,
        Stamina,
        Dexterity,
        Play
    };
    void ask(State s);
    bool takeStat(const QString& line, int& value, int statsAfter);
    void finishStats();

    AccountStore& store_;
    NameClaims& claims_;
    Place start_;
    SendFn send_;
    State state_ = State::Id;
    QString id_, password_, email_, name_, race_, gender_;
    int strength_ = 0, stamina_ = 0, dexterity_ = 0, intelligence_ = 0;
    Account* account_ = nullptr;
    QString saveError_;
    NameClaim idClaim_;
    NameClaim nameClaim_;
};

// Letters and digits only, starting with a letter, length in [min, max].
bool isGoodName(const QString& name, int min, int max);
