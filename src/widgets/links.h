#pragma once
// Web addresses in the game's prose: where they are in a line and what they
// open. The text itself is never changed; panes only draw these spans as
// links.

#include <QList>
#include <QString>
#include <QUrl>

struct LinkSpan {
    int start = 0;
    int length = 0;
    QUrl url;
};

// Addresses that begin with "http://", "https://" or "www." and name a host
// with a dot in it (or localhost). Trailing sentence punctuation and an
// unbalanced closing bracket or quote stay outside the link.
QList<LinkSpan> FindLinks(const QString& text);
