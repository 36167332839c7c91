#include "nameclaims.h"

NameClaim& NameClaim::operator=(NameClaim&& other) noexcept
{
    if (this != &other) {
        reset();
        set_ = std::exchange(other.set_, nullptr);
        key_ = std::move(other.key_);
    }
    return *this;
}

void NameClaim::reset()
{
    if (set_)
        set_->remove(key_);
    set_ = nullptr;
}

void NameClaims::reserve(const QStringList& names)
{
    for (const QString& n : names)
        reserved_.insert(n.toLower());
}

NameClaim NameClaims::claimAvatarName(const QString& name)
{
    if (reserved_.contains(name.toLower()))
        return {};
    return claim(names_, name);
}

NameClaim NameClaims::claim(QSet<QString>& set, const QString& name)
{
    const QString key = name.toLower();
    if (set.contains(key))
        return {};
    set.insert(key);
    return NameClaim(&set, key);
}
