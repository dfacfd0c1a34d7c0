#pragma once

#include "app/Database.h"

#include <QString>
#include <QStringList>
#include <vector>

// The catalogue of tables of the main and scratch databases, in one place for both
// engines: table and column names, the logical type of every column, and the
// indexes that lookups and scans use.
namespace schema {

enum class Type {
    AutoNumber,  // integer key assigned on insert; never reused (SQLite AUTOINCREMENT)
    Text,
    Integer,
    Currency,    // exact, four decimals
    Number,      // numeric quantity (may carry a fraction)
    DateTime,    // a day or a moment
    Bool
};

struct Column {
    QString name;
    Type type;
    int length = 0;   // declared length of a text column; 0 = unlimited
};

struct Index {
    QStringList columns;
    bool unique = false;
};

struct Table {
    QString name;
    std::vector<Column> columns;
    std::vector<Index> indexes;
    const Column *column(const QString &name) const;
    QString keyColumn() const;   // the auto-number column
};

// The version a newly created database starts at: the newest patch version shipped
// in the patch database, so a new database runs no patch.
extern const char *const kSchemaVersion;

const std::vector<Table> &mainTables();
const std::vector<Table> &scratchTables();
// Looks a table up in the main catalogue, then the scratch catalogue.
const Table *findTable(const QString &name);
// The logical type of a column; Text when the table or column is unknown.
Type columnType(const QString &table, const QString &column);
bool isNumeric(Type t);

QString columnSql(Type t, Engine engine);
QString columnSql(const Column &c, Engine engine);
QString createTableSql(const Table &table, Engine engine);
QStringList createIndexSql(const Table &table, Engine engine);

// Creates every table and index of the catalogue (in one transaction) and records
// kSchemaVersion in 版本号. Throws DbError.
void createMainSchema(Database &db);
void createScratchSchema(Database &db);
// A new shop's main database: the schema and the operator "admin" with an empty
// password (stored hashed) and every right, in one transaction.
void createNewMainDatabase(Database &db);
// The tables of the list that the database lacks.
QStringList missingTables(Database &db, const std::vector<Table> &tables);
// Adds the scratch tables an older temp.mdb lacks (版本号 is left to the upgrade).
void createMissingScratchTables(Database &db);

} // namespace schema
