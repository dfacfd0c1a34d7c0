#pragma once

#include "app/ServerSetup.h"
#include "support/TestShop.h"

// The setup program's settings for a database on the test environment's server,
// logged in as the server's administrator.
inline ServerSettings testServer(const QString &database)
{
    const PgParams p = TestShop::pgServer();
    ServerSettings s;
    s.mode = QStringLiteral("网络版");
    s.server = p.server;
    s.user = p.user;
    s.password = p.password;
    s.database = database;
    return s;
}
