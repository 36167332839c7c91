#pragma once
// The accounts of the server and their avatars, kept in one JSON file in
// the data directory. The file is replaced atomically on every save, so a
// crash leaves either the old or the new file, never a torn one.
//
// Passwords are never stored: each account keeps a random 16-byte salt
// and PBKDF2-HMAC-SHA256 of the password with that salt (the iteration
// count is stored with it, so it can be raised later).

#include "avatar.h"

#include <QByteArray>
#include <QJsonArray>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <vector>

// What is kept of a password: salt, derived key and the work it took.
struct Credentials {
    QByteArray salt;
    QByteArray hash;
    int iterations = 0;

    // A fresh salt and the key derived from the password. Slow on purpose:
    // call it away from the event loop. Safe on any thread.
    static Credentials derive(const QString& password, int iterations);
    // True when the password gives this key; takes as long either way.
    bool matches(const QString& password) const;
};

struct Account {
    QString id;
    QString email;
    Credentials credentials;
    Avatar avatar;
};

class AccountStore {
public:
    explicit AccountStore(QString path, int iterations = kDefaultIterations);
    ~AccountStore();  // waits for the last save to be written

    // Current guidance for PBKDF2-HMAC-SHA256.
    static constexpr int kDefaultIterations = 600000;
    // A count above this in the file is not trusted: an entry asking for
    // more would let whoever edited the file stall every logon.
    static constexpr int kMaxIterations = 10000000;
    int iterations() const { return iterations_; }

    // True when the file was read or does not exist yet (existed() tells).
    // A file that cannot be read as accounts is left where it is and false
    // is returned, so the caller never writes over a player's data.
    bool load(QString* error);
    bool save(QString* error);
    // Takes a copy now and writes it (and flushes it to disk) on a worker
    // thread, so the game does not wait for the disk; failures are logged.
    // `done` then runs on the event loop with the error (empty when
    // written), unless `context` is gone by then.
    void saveInBackground(QObject* context = nullptr, std::function<void(const QString&)> done = {});
    // Waits until every save begun is written.
    void flush();
    bool existed() const { return existed_; }
    QString path() const { return path_; }

    // Lookups ignore letter case.
    Account* find(const QString& id);
    Account* findByAvatar(const QString& name);
    // What a logon for this ID checks the password against: the account's
    // own, or for an unknown ID a stand-in that costs the same work, so the
    // answer's timing does not tell which IDs exist.
    Credentials credentialsFor(const QString& id);
    // Adds an account; the caller has checked that id and avatar are free.
    Account& create(const QString& id, Credentials credentials, const QString& email,
                    const Avatar& avatar);

    void remove(const Account* account);

    const std::vector<std::unique_ptr<Account>>& accounts() const { return accounts_; }

    static QByteArray hashPassword(const QString& password, const QByteArray& salt, int iterations);

private:
    void removeStaleTemporaries() const;
    // The file's bytes; static so a copy of the accounts can be written out
    // on the writer thread.
    static QByteArray serialize(const std::vector<Account>& accounts, const QJsonArray& unusable);
    std::vector<Account> snapshot() const;
    static bool write(const QString& path, const QByteArray& bytes, QString* error);

    QString path_;
    int iterations_;
    bool existed_ = false;
    std::vector<std::unique_ptr<Account>> accounts_;
    QJsonArray unusable_;  // entries we could not read, kept as they were
    Credentials dummy_;    // for unknown IDs
    QThreadPool writer_;
};
