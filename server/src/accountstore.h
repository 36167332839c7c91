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

#include <memory>
#include <vector>

struct Account {
    QString id;
    QString email;
    QByteArray salt;
    QByteArray hash;
    int iterations = 0;
    Avatar avatar;
};

class AccountStore {
public:
    explicit AccountStore(QString path, int iterations = kDefaultIterations);

    static constexpr int kDefaultIterations = 20000;

    // True when the file was read or does not exist yet (existed() tells).
    // A file that cannot be read as accounts is left where it is and false
    // is returned, so the caller never writes over a player's data.
    bool load(QString* error);
    bool save(QString* error);
    bool existed() const { return existed_; }
    QString path() const { return path_; }

    // Lookups ignore letter case.
    Account* find(const QString& id);
    Account* findByAvatar(const QString& name);
    // The account if the password is right, else null.
    Account* verify(const QString& id, const QString& password);
    // Adds an account; the caller has checked that id and avatar are free.
    Account& create(const QString& id, const QString& password, const QString& email,
                    const Avatar& avatar);

    void remove(const Account* account);

    const std::vector<std::unique_ptr<Account>>& accounts() const { return accounts_; }

    static QByteArray hashPassword(const QString& password, const QByteArray& salt, int iterations);

private:
    QString path_;
    int iterations_;
    bool existed_ = false;
    std::vector<std::unique_ptr<Account>> accounts_;
    QJsonArray unusable_;  // entries we could not read, kept as they were
};
