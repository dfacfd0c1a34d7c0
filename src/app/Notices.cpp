#include "app/Notices.h"

ChangeNotices &changeNotices()
{
    static ChangeNotices n;
    return n;
}

void announceChange(Database &db, ChangeNotices::Changes what, const QString &table)
{
    db.afterCommit([what, table] { Q_EMIT changeNotices().changed(what, table); });
}
