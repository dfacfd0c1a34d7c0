#pragma once

#include "app/Database.h"

#include <QObject>
#include <QString>

// What a posting or a master-data change announces once it is stored. Rules call
// announceChange inside their transaction; the notice is sent only after the
// commit (never after a rollback), and windows (the main window's overview,
// warehouse list and today's takings, open lists) refresh from it.
class ChangeNotices : public QObject {
    Q_OBJECT
public:
    enum Change {
        Stock = 1,        // quantities in the stock stores
        Sales = 2,        // sale headers and lines (today's takings)
        Warehouses = 4,   // the warehouse list (added, renamed, deleted)
        MasterData = 8,   // any other master-data table (the table is named)
        Members = 16,     // members, their points and stored value
    };
    Q_DECLARE_FLAGS(Changes, Change)

Q_SIGNALS:
    // table: the table that changed, when one is named (master data).
    void changed(ChangeNotices::Changes what, const QString &table);
};
Q_DECLARE_OPERATORS_FOR_FLAGS(ChangeNotices::Changes)

ChangeNotices &changeNotices();

// Announces the change after the current transaction of db commits (at once when
// no transaction is open).
void announceChange(Database &db, ChangeNotices::Changes what, const QString &table = QString());
