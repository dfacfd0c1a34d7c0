#pragma once

#include "app/Database.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// One row of the command table 命令表 in the patch database buding.mdb: a statement,
// the version it belongs to and the database it is for ("access": the main database
// on SQLite, "sql": the main database on PostgreSQL, "本地": the scratch database).
struct PatchRow {
    QString version;
    QString kind;
    QString sql;
};

// Reads the plain-text patch source (patches/buding.txt): a line "@@ <版本号> <数据库>"
// starts a patch, the lines up to the next "@@" are its one statement. On a
// malformed source returns false with *error naming the line.
bool parsePatchSource(const QString &text, QList<PatchRow> *rows, QString *error);
// Writes a new patch database at path (replacing any file there) holding 命令表 with
// the rows in the given order. Throws DbError.
void writePatchDatabase(const QString &path, const QList<PatchRow> &rows);

// Brings the main and the scratch database up to the newest version of the patch
// database at start-up. Statements newer than a database's version run once; a
// failing statement is skipped and the version is raised all the same.
//
// Two failures are not skipped. A statement the login may not run (a workstation
// login that may write rows but not change tables) stops the main upgrade: the
// recorded version stays below the refused statement, so it runs again once a
// login that may change the tables starts the program or the setup program. A
// lost server connection stops the upgrade without raising the version.
class SchemaUpgrade {
public:
    // patch opens the patch database on first use (throws DbError when it cannot).
    // mainKind is "access" in single-user mode and "sql" in network mode.
    SchemaUpgrade(std::function<Database &()> patch, Database &main, Database &scratch, QString mainKind);
    // The main database only (the setup program, or an upgrade with the owner's login).
    SchemaUpgrade(std::function<Database &()> patch, Database &main, QString mainKind);

    struct Result {
        QStringList notices;     // for the user: the scratch upgrade, or the error that stopped it
        bool failed = false;     // the patch database or the main 版本号 table was missing
        int mainStatements = 0;  // statements tried on each database (failed ones included)
        int scratchStatements = 0;
        // The login was refused a main-database statement (not the owner of the tables):
        // the server's text of the refusal; empty when nothing was refused.
        QString refused;
    };
    Result run();

    // The built-in starting version of a scratch database without 版本号.
    static const char *const kScratchBaseVersion;

private:
    void upgradeMain(Result &r);
    void upgradeScratch(Result &r);
    std::function<Database &()> patch_;
    Database &main_;
    Database *scratch_;
    QString mainKind_;
};
