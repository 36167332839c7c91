#pragma once
// The accounts of the server and their avatars, kept in one JSON file in
// the data directory. The file is replaced atomically on every save, so a
// crash leaves either the old or the new file, never a torn one.
//
// Passwords are never stored: each account keeps an Argon2id hash in its
// standard encoded string ("$argon2id$v=19$m=...,t=...,p=1$salt$hash"),
// which carries its own salt and cost. Records from before that keep a
// salt, PBKDF2-HMAC-SHA256 and its iteration count until their owner next
// logs on.

#include "avatar.h"
#include "savequeue.h"

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// The work a new password hash takes: Argon2id passes over this much memory.
struct HashCost {
    // The least OWASP advises for Argon2id: 19 MiB, two passes, one lane.
    int passes = 2;
    int memoryKiB = 19 * 1024;
    // More than this in the file is not trusted: an entry asking for it
    // would let whoever edited the file stall every logon.
    static constexpr int kMaxPasses = 16;
    static constexpr int kMaxMemoryKiB = 256 * 1024;
    static constexpr int kMinMemoryKiB = 8; // the least Argon2id accepts
};

// What is kept of a password.
struct Credentials {
    QByteArray encoded; // Argon2id, encoded; empty for an old PBKDF2 record
    // An old record: PBKDF2-HMAC-SHA256 of the password with this salt.
    QByteArray salt;
    QByteArray hash;
    int iterations = 0;
    // An old iteration count above this is not trusted, as HashCost's caps.
    static constexpr int kMaxIterations = 10000000;

    // A fresh salt and the Argon2id hash of the password; empty when the
    // memory could not be had. Slow on purpose: call it away from the event
    // loop. Safe on any thread.
    static Credentials derive(const QString& password, HashCost cost);
    // True when the password gives this hash; as slow as the stored cost.
    bool matches(const QString& password) const;
    // True when this is not an Argon2id hash of exactly this cost.
    bool needsRehash(HashCost cost) const;
    // True when it can be checked at a cost within the caps.
    bool usable() const;
};

struct Account {
    QString id;
    QString email;
    Credentials credentials;
    Avatar avatar;
};

class AccountStore {
public:
    explicit AccountStore(QString path, HashCost cost = {});
    ~AccountStore(); // waits for the last save to be written

    HashCost cost() const { return cost_; }

    // True when the file was read or does not exist yet (existed() tells).
    // A file that cannot be read as accounts is left where it is and false
    // is returned, so the caller never writes over a player's data.
    bool load(QString* error);
    bool save(QString* error);
    // Writes the accounts (and flushes them to disk) on a worker thread, so
    // the game does not wait for the disk; failures are logged. Requests
    // made while a write runs are combined into the next (see SaveQueue).
    // `done` then runs on the event loop with the error (empty when
    // written), unless `context` is gone by then.
    void saveInBackground(QObject* context = nullptr, std::function<void(const QString&)> done = {});
    // Waits until every save asked for is written.
    void flush();
    bool existed() const { return existed_; }
    QString path() const { return path_; }

    // Lookups ignore letter case.
    Account* find(const QString& id) const;
    Account* findByAvatar(const QString& name) const;
    // What a logon for this ID checks the password against: the account's
    // own, or for an unknown ID a hash of the current cost, so that the
    // work done does not tell which IDs exist.
    Credentials credentialsFor(const QString& id) const;
    // Adds an account; the caller has checked that id and avatar are free.
    Account& create(const QString& id, Credentials credentials, const QString& email, const Avatar& avatar);

    void remove(const Account* account);

    const std::vector<std::unique_ptr<Account>>& accounts() const { return accounts_; }

private:
    void removeStaleTemporaries() const;
    void index(Account* account);
    // The file's bytes; static so a copy of the accounts can be written out
    // on the writer thread.
    static QByteArray serialize(const std::vector<Account>& accounts, const QJsonArray& unusable);
    std::vector<Account> snapshot() const;
    static bool write(const QString& path, const QByteArray& bytes, QString* error);

    QString path_;
    HashCost cost_;
    bool existed_ = false;
    std::vector<std::unique_ptr<Account>> accounts_;
    QHash<QString, Account*> byId_; // by case-folded ID
    QHash<QString, Account*> byAvatar_; // by case-folded avatar name
    QJsonArray unusable_; // entries we could not read, kept as they were
    Credentials dummy_; // for unknown IDs
    SaveQueue saves_; // last: it waits for its writer before the rest goes
};
