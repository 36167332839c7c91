#include "accountstore.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>

#include <sodium.h>

namespace {

bool sodiumReady()
{
    // Safe to call from any thread and more than once.
    static const bool ready = sodium_init() >= 0;
    return ready;
}

QByteArray pbkdf2(const QString& password, const QByteArray& salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, iterations, 32);
}

// The cost written in an Argon2id string; false when it is not one.
bool argon2Cost(const QByteArray& encoded, qint64* memoryKiB, qint64* passes)
{
    static const QRegularExpression re(QStringLiteral("^\\$argon2id\\$v=19\\$m=(\\d{1,10}),t=(\\d{1,10}),p=1\\$"));
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(encoded));
    if (!m.hasMatch())
        return false;
    *memoryKiB = m.captured(1).toLongLong();
    *passes = m.captured(2).toLongLong();
    return true;
}

} // namespace

Credentials Credentials::derive(const QString& password, HashCost cost)
{
    Credentials c;
    const QByteArray utf8 = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (sodiumReady()
        && crypto_pwhash_argon2id_str(
               out, utf8.constData(), quint64(utf8.size()), quint64(cost.passes), size_t(cost.memoryKiB) * 1024)
            == 0)
        c.encoded = QByteArray(out);
    return c;
}

bool Credentials::matches(const QString& password) const
{
    const QByteArray utf8 = password.toUtf8();
    if (!encoded.isEmpty())
        return sodiumReady()
            && crypto_pwhash_argon2id_str_verify(encoded.constData(), utf8.constData(), quint64(utf8.size())) == 0;
    if (hash.isEmpty())
        return false;
    const QByteArray h = pbkdf2(password, salt, qMax(1, iterations));
    return h.size() == hash.size() && sodium_memcmp(h.constData(), hash.constData(), size_t(h.size())) == 0;
}

bool Credentials::needsRehash(HashCost cost) const
{
    return encoded.isEmpty() || !sodiumReady()
        || crypto_pwhash_argon2id_str_needs_rehash(
               encoded.constData(), quint64(cost.passes), size_t(cost.memoryKiB) * 1024)
        != 0;
}

bool Credentials::usable() const
{
    qint64 memoryKiB = 0;
    qint64 passes = 0;
    if (!encoded.isEmpty())
        return argon2Cost(encoded, &memoryKiB, &passes) && memoryKiB >= HashCost::kMinMemoryKiB
            && memoryKiB <= HashCost::kMaxMemoryKiB && passes >= 1 && passes <= HashCost::kMaxPasses;
    return !hash.isEmpty() && iterations >= 1 && iterations <= kMaxIterations;
}

AccountStore::AccountStore(QString path, HashCost cost)
    : path_(std::move(path))
    , cost_(cost)
    , saves_([this]() -> SaveQueue::Write {
        // Only the copy is taken here; building the document is the writer's work.
        return [path = path_, accounts = snapshot(), unusable = unusable_] {
            QString error;
            if (!write(path, serialize(accounts, unusable), &error))
                qWarning().noquote() << "kyrnd: could not save accounts:" << error;
            return error;
        };
    })
{
    // Unknown IDs are checked against this; nobody knows its password.
    QByteArray secret(32, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(secret.data()), 8);
    dummy_ = Credentials::derive(QString::fromLatin1(secret.toBase64()), cost_);
}

AccountStore::~AccountStore()
{
    flush();
}

void AccountStore::removeStaleTemporaries() const
{
    // A save interrupted by a kill may leave its temporary file behind.
    const QFileInfo info(path_);
    const QRegularExpression temporary(
        QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(info.fileName())));
    const QDir dir = info.absoluteDir();
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (temporary.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
    }
}

void AccountStore::index(Account* account)
{
    byId_.insert(account->id.toCaseFolded(), account);
    byAvatar_.insert(account->avatar.name.toCaseFolded(), account);
}

bool AccountStore::load(QString* error)
{
    removeStaleTemporaries();
    accounts_.clear();
    byId_.clear();
    byAvatar_.clear();
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
    const QJsonArray list = doc.object()["accounts"].toArray();
    accounts_.reserve(size_t(list.size()));
    byId_.reserve(list.size());
    byAvatar_.reserve(list.size());
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        auto a = std::make_unique<Account>();
        a->id = o["id"].toString();
        a->email = o["email"].toString();
        Credentials& c = a->credentials;
        const QString hash = o["hash"].toString();
        if (hash.startsWith(QLatin1Char('$'))) {
            c.encoded = hash.toLatin1();
        } else {
            c.salt = QByteArray::fromHex(o["salt"].toString().toLatin1());
            c.hash = QByteArray::fromHex(hash.toLatin1());
            c.iterations = o["iterations"].toInt();
        }
        const bool hasAvatar = a->avatar.fromJson(o["avatar"].toObject());
        // An entry we cannot use is not loaded, but written back untouched.
        if (a->id.isEmpty() || !c.usable() || !hasAvatar || find(a->id) || findByAvatar(a->avatar.name)) {
            unusable_.append(o);
            continue;
        }
        index(a.get());
        accounts_.push_back(std::move(a));
    }
    return true;
}

std::vector<Account> AccountStore::snapshot() const
{
    // Cheap: the strings and maps inside are shared until the game changes them.
    std::vector<Account> copy;
    copy.reserve(accounts_.size());
    for (const auto& a : accounts_)
        copy.push_back(*a);
    return copy;
}

QByteArray AccountStore::serialize(const std::vector<Account>& accounts, const QJsonArray& unusable)
{
    QJsonArray list;
    for (const Account& a : accounts) {
        QJsonObject o{{"id", a.id}, {"email", a.email}, {"avatar", a.avatar.toJson()}};
        const Credentials& c = a.credentials;
        if (!c.encoded.isEmpty()) {
            o.insert("hash", QString::fromLatin1(c.encoded));
        } else {
            o.insert("salt", QString::fromLatin1(c.salt.toHex()));
            o.insert("hash", QString::fromLatin1(c.hash.toHex()));
            o.insert("iterations", c.iterations);
        }
        list.append(o);
    }
    for (const QJsonValue& v : unusable)
        list.append(v);
    const QJsonObject root{{"format", 1}, {"accounts", list}};
    // Compact: a third of the bytes to write and read with many accounts.
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

bool AccountStore::write(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    // Hashes and e-mail addresses are nobody else's business.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(bytes);
    if (!file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool AccountStore::save(QString* error)
{
    flush(); // an earlier save must not land after this one
    if (!write(path_, serialize(snapshot(), unusable_), error))
        return false;
    existed_ = true;
    return true;
}

void AccountStore::saveInBackground(QObject* context, std::function<void(const QString&)> done)
{
    existed_ = true;
    saves_.request(context, std::move(done));
}

void AccountStore::flush()
{
    saves_.flush();
}

Account* AccountStore::find(const QString& id) const
{
    return byId_.value(id.toCaseFolded());
}

Account* AccountStore::findByAvatar(const QString& name) const
{
    return byAvatar_.value(name.toCaseFolded());
}

Credentials AccountStore::credentialsFor(const QString& id) const
{
    if (const Account* a = find(id))
        return a->credentials;
    return dummy_;
}

Account& AccountStore::create(const QString& id, Credentials credentials, const QString& email, const Avatar& avatar)
{
    auto a = std::make_unique<Account>();
    a->id = id;
    a->email = email;
    a->credentials = std::move(credentials);
    a->avatar = avatar;
    index(a.get());
    accounts_.push_back(std::move(a));
    return *accounts_.back();
}

void AccountStore::remove(const Account* account)
{
    if (!account)
        return;
    byId_.remove(account->id.toCaseFolded());
    byAvatar_.remove(account->avatar.name.toCaseFolded());
    std::erase_if(accounts_, [account](const auto& a) { return a.get() == account; });
}
