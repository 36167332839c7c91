#include "accountstore.h"

#include <QFile>
#include <QJsonDocument>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QSaveFile>

AccountStore::AccountStore(QString path, int iterations)
    : path_(std::move(path)), iterations_(qMax(1, iterations))
{
}

QByteArray AccountStore::hashPassword(const QString& password, const QByteArray& salt,
                                      int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt,
                                              iterations, 32);
}

bool AccountStore::load(QString* error)
{
    accounts_.clear();
    unusable_ = QJsonArray();
    QFile file(path_);
    existed_ = file.exists();
    if (!existed_)
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path_, file.errorString());
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        *error = QStringLiteral("%1 is not an accounts file: %2").arg(path_, parseError.errorString());
        return false;
    }
    for (const QJsonValue& v : doc.object()["accounts"].toArray()) {
        const QJsonObject o = v.toObject();
        auto a = std::make_unique<Account>();
        a->id = o["id"].toString();
        a->email = o["email"].toString();
        a->salt = QByteArray::fromHex(o["salt"].toString().toLatin1());
        a->hash = QByteArray::fromHex(o["hash"].toString().toLatin1());
        a->iterations = o["iterations"].toInt();
        const bool hasAvatar = a->avatar.fromJson(o["avatar"].toObject());
        // An entry we cannot use is not loaded, but written back untouched.
        if (a->id.isEmpty() || a->hash.isEmpty() || a->iterations < 1 || !hasAvatar || find(a->id)) {
            unusable_.append(o);
            continue;
        }
        accounts_.push_back(std::move(a));
    }
    return true;
}

bool AccountStore::save(QString* error)
{
    QJsonArray list;
    for (const auto& a : accounts_) {
        list.append(QJsonObject{{"id", a->id},
                                {"email", a->email},
                                {"salt", QString::fromLatin1(a->salt.toHex())},
                                {"hash", QString::fromLatin1(a->hash.toHex())},
                                {"iterations", a->iterations},
                                {"avatar", a->avatar.toJson()}});
    }
    for (const QJsonValue& v : unusable_)
        list.append(v);
    const QJsonObject root{{"format", 1}, {"accounts", list}};
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path_, file.errorString());
        return false;
    }
    file.write(QJsonDocument(root).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path_, file.errorString());
        return false;
    }
    existed_ = true;
    return true;
}

Account* AccountStore::find(const QString& id)
{
    for (const auto& a : accounts_) {
        if (a->id.compare(id, Qt::CaseInsensitive) == 0)
            return a.get();
    }
    return nullptr;
}

Account* AccountStore::findByAvatar(const QString& name)
{
    for (const auto& a : accounts_) {
        if (a->avatar.name.compare(name, Qt::CaseInsensitive) == 0)
            return a.get();
    }
    return nullptr;
}

Account* AccountStore::verify(const QString& id, const QString& password)
{
    Account* a = find(id);
    if (!a)
        return nullptr;
    const QByteArray h = hashPassword(password, a->salt, a->iterations);
    // Compare every byte so the time taken does not tell how much matched.
    if (h.size() != a->hash.size())
        return nullptr;
    unsigned diff = 0;
    for (qsizetype i = 0; i < h.size(); ++i)
        diff |= static_cast<unsigned char>(h[i] ^ a->hash[i]);
    return diff == 0 ? a : nullptr;
}

Account& AccountStore::create(const QString& id, const QString& password, const QString& email,
                              const Avatar& avatar)
{
    auto a = std::make_unique<Account>();
    a->id = id;
    a->email = email;
    a->salt.resize(16);
    for (char& c : a->salt)
        c = static_cast<char>(QRandomGenerator::system()->bounded(256));
    a->iterations = iterations_;
    a->hash = hashPassword(password, a->salt, a->iterations);
    a->avatar = avatar;
    accounts_.push_back(std::move(a));
    return *accounts_.back();
}

void AccountStore::remove(const Account* account)
{
    std::erase_if(accounts_, [account](const auto& a) { return a.get() == account; });
}
