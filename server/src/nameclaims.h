#pragma once
// Account IDs and avatar names being chosen right now, shared by all
// sessions, so two people creating accounts at once cannot both take one.
// A claim is an object: the name is free again when the claim is gone.

#include <QSet>
#include <QString>
#include <QStringList>

class NameClaims;

class NameClaim {
public:
    NameClaim() = default;
    NameClaim(NameClaim&& other) noexcept { *this = std::move(other); }
    NameClaim& operator=(NameClaim&& other) noexcept;
    NameClaim(const NameClaim&) = delete;
    NameClaim& operator=(const NameClaim&) = delete;
    ~NameClaim() { reset(); }

    bool held() const { return set_ != nullptr; }
    void reset();

private:
    friend class NameClaims;
    NameClaim(QSet<QString>* set, QString key)
        : set_(set)
        , key_(std::move(key))
    {
    }

    QSet<QString>* set_ = nullptr;
    QString key_;
};

class NameClaims {
public:
    // Names nobody may take (the simulated players'); letter case ignored.
    void reserve(const QStringList& names);

    // A held claim when nobody else holds the name, else an empty one.
    // Letter case is ignored.
    NameClaim claimAccountId(const QString& id) { return claim(ids_, id); }
    NameClaim claimAvatarName(const QString& name);
    qsizetype size() const { return ids_.size() + names_.size(); }

private:
    NameClaim claim(QSet<QString>& set, const QString& name);

    QSet<QString> ids_;
    QSet<QString> names_;
    QSet<QString> reserved_;
};
