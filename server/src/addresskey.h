#pragma once
// What the per-address limits count by. An IPv6 host is handed a whole
// /64 and can pick any address in it, so the /64 counts as one address;
// an IPv4 client on a dual-stack socket is counted by its IPv4 address.

#include <QHostAddress>
#include <QString>

QString addressKey(const QHostAddress& address);
