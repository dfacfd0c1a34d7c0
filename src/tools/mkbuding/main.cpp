// Builds the patch database buding.mdb (table 命令表) from its plain-text source.
#include "app/Database.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkbuding <buding.txt> <buding.mdb>\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "mkbuding: cannot read %s\n", argv[1]);
        return 1;
    }
    struct Patch { QString version, kind; QStringList lines; };
    QList<Patch> patches;
    int lineNo = 0;
    for (const QString &line : QString::fromUtf8(in.readAll()).split(u'\n')) {
        ++lineNo;
        const QString t = line.trimmed();
        if (t.startsWith(QStringLiteral("@@"))) {
            const QStringList parts = t.mid(2).split(u' ', Qt::SkipEmptyParts);
            if (parts.size() != 2) {
                std::fprintf(stderr, "mkbuding: %s:%d: expected \"@@ <version> <database>\"\n", argv[1], lineNo);
                return 1;
            }
            patches.append({parts[0], parts[1], {}});
        } else if (!patches.isEmpty() && !(patches.last().lines.isEmpty() && (t.isEmpty() || t.startsWith(u'#')))) {
            patches.last().lines << line;
        }
    }
    QFile::remove(target);
    QFile::remove(target + QStringLiteral("-wal"));
    QFile::remove(target + QStringLiteral("-shm"));
    try {
        auto db = Database::openSqlite(target);
        db->execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
        Transaction tx(*db);
        db->execute(QStringLiteral("CREATE TABLE 命令表 (id INTEGER PRIMARY KEY AUTOINCREMENT, 版本号 TEXT, 数据库 TEXT, sql语句 TEXT)"));
        Query q(*db);
        q.prepare(QStringLiteral("insert into 命令表 (版本号,数据库,sql语句) values (:v,:k,:s)"));
        for (const Patch &p : patches) {
            QString stmt = p.lines.join(u'\n').trimmed();
            if (stmt.endsWith(u';')) stmt.chop(1);
            if (stmt.isEmpty()) {
                std::fprintf(stderr, "mkbuding: empty statement for %s %s\n", qPrintable(p.version), qPrintable(p.kind));
                return 1;
            }
            q.bind(QStringLiteral("v"), p.version).bind(QStringLiteral("k"), p.kind).bind(QStringLiteral("s"), stmt).exec();
        }
        tx.commit();
    } catch (const DbError &e) {
        std::fprintf(stderr, "mkbuding: %s\n", e.what());
        return 1;
    }
    return 0;
}
