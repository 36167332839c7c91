#include "accountstore.h"

#include <QCoreApplication>
#include <QDebug>
#include <QPointer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QJsonDocument>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QSaveFile>

AccountStore::AccountStore(QString path, int iterations)
    : path_(std::move(path)), iterations_(qMax(1, iterations))
{
    // One writer, so saves land in the order they were made.
    writer_.setMaxThreadCount(1);
}

QByteArray AccountStore::hashPassword(const QString& password, const QByteArray& salt,
                                      int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt,
                                              iterations, 32);
}

Credentials Credentials::derive(const QString& password, int iterations)
{
    Credentials c;
    c.salt.resize(16);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(c.salt.data()), 4);
    c.iterations = iterations;
    c.hash = AccountStore::hashPassword(password, c.salt, iterations);
    return c;
}

bool Credentials::matches(const QString& password) const
{
    const QByteArray h = AccountStore::hashPassword(password, salt, qMax(1, iterations));
    // Compare every byte so the time taken does not tell how much matched.
    if (h.size() != hash.size() || hash.isEmpty())
        return false;
    unsigned diff = 0;
    for (qsizetype i = 0; i < h.size(); ++i)
        diff |= static_cast<unsigned char>(h[i] ^ hash[i]);
    return diff == 0;
}

void AccountStore::removeStaleTemporaries() const
{
    // A save interrupted by a kill may leave its temporary file behind.
    const QFileInfo info(path_);
    const QRegularExpression temporary(QStringLiteral("^%1\\.[A-Za-z0-9]{6}$")
                                           .arg(QRegularExpression::escape(info.fileName())));
    const QDir dir = info.absoluteDir();
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (temporary.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
    }
}

bool AccountStore::load(QString* error)
{
    removeStaleTemporaries();
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
        Credentials& c = a->credentials;
        c.salt = QByteArray::fromHex(o["salt"].toString().toLatin1());
        c.hash = QByteArray::fromHex(o["hash"].toString().toLatin1());
        c.iterations = o["iterations"].toInt();
        const bool hasAvatar = a->avatar.fromJson(o["avatar"].toObject());
        // An entry we cannot use is not loaded, but written back untouched.
        if (a->id.isEmpty() || c.hash.isEmpty() || c.iterations < 1 || c.iterations > kMaxIterations
            || !hasAvatar || find(a->id)) {
            unusable_.append(o);
            continue;
        }
        accounts_.push_back(std::move(a));
    }
    return true;
}

AccountStore::~AccountStore()
{
    flush();
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
        list.append(QJsonObject{{"id", a.id},
                                {"email", a.email},
                                {"salt", QString::fromLatin1(a.credentials.salt.toHex())},
                                {"hash", QString::fromLatin1(a.credentials.hash.toHex())},
                                {"iterations", a.credentials.iterations},
                                {"avatar", a.avatar.toJson()}});
    }
    for (const QJsonValue& v : unusable)
        list.append(v);
    const QJsonObject root{{"format", 1}, {"accounts", list}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
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
    flush();  // an earlier save must not land after this one
    if (!write(path_, serialize(snapshot(), unusable_), error))
        return false;
    existed_ = true;
    return true;
}

void AccountStore::saveInBackground(QObject* context, std::function<void(const QString&)> done)
{
    existed_ = true;
    // Only the copy is taken here; building the document is the writer's work.
    writer_.start([path = path_, accounts = snapshot(), unusable = unusable_,
                   guard = QPointer<QObject>(context), done = std::move(done)] {
        QString error;
        if (!write(path, serialize(accounts, unusable), &error))
            qWarning().noquote() << "kyrnd: could not save accounts:" << error;
        if (!done)
            return;
        // The guard is only looked at on the event loop's thread.
        QMetaObject::invokeMethod(QCoreApplication::instance(), [guard, done, error] {
            if (guard)
                done(error);
        }, Qt::QueuedConnection);
    });
}

void AccountStore::flush()
{
    writer_.waitForDone();
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

Credentials AccountStore::credentialsFor(const QString& id)
{
    if (const Account* a = find(id))
        return a->credentials;
    if (dummy_.iterations != iterations_)
        dummy_ = Credentials{QByteArray(16, '\0'), QByteArray(32, '\1'), iterations_};
    return dummy_;
}

Account& AccountStore::create(const QString& id, Credentials credentials, const QString& email,
                              const Avatar& avatar)
{
    auto a = std::make_unique<Account>();
    a->id = id;
    a->email = email;
    a->credentials = std::move(credentials);
    a->avatar = avatar;
    accounts_.push_back(std::move(a));
    return *accounts_.back();
}

void AccountStore::remove(const Account* account)
{
    std::erase_if(accounts_, [account](const auto& a) { return a.get() == account; });
}
