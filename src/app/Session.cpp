#include "app/Session.h"

bool Session::granted(const QString &rights, int pos)
{
    if (pos < 1 || pos > rights.size()) return false;
    return rights[pos - 1] != u'0';
}

Session &session()
{
    static Session s;
    return s;
}

QString ShopPaths::shopFile(const QString &name) const { return shopDir + u'/' + name; }
QString ShopPaths::programFile(const QString &name) const { return programDir + u'/' + name; }

ShopPaths &paths()
{
    static ShopPaths p;
    return p;
}
