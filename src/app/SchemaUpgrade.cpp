#include "app/SchemaUpgrade.h"

#include <QFile>

const char *const SchemaUpgrade::kScratchBaseVersion = "201210290000";

namespace {

// Versions are compared as text: an empty version is the empty text (below every
// version), never NULL (which compares with nothing).
QString cleanVersion(const QString &v)
{
    QString out = v;
    out.remove(u'.');
    return out.isNull() ? QString(QLatin1String("")) : out;
}

QString versionOf(Database &db)
{
    Query q(db);
    q.exec(QStringLiteral("select * from 版本号"));
    return q.next() ? cleanVersion(q.text(QStringLiteral("版本号"))) : QString();
}

void recordVersion(Database &db, const QString &version)
{
    Transaction tx(db);
    Query q(db);
    q.exec(QStringLiteral("delete from 版本号"));
    q.prepare(QStringLiteral("insert into 版本号 (版本号) values (:版本号)"));
    q.bind(QStringLiteral("版本号"), cleanVersion(version)).exec();
    tx.commit();
}

struct Statement {
    QString version;
    QString sql;
};

// Runs each statement on db; a statement that fails is skipped. Run unprepared:
// PostgreSQL cannot prepare DDL. Stops at a statement the login may not run and
// returns its position (-1 when none was refused, with *refused its text); a lost
// connection ends the run with its error.
int runStatements(Database &db, const QList<Statement> &statements, QString *refused)
{
    for (int i = 0; i < statements.size(); ++i) {
        try {
            db.execute(statements[i].sql);
        } catch (const DbError &e) {
            if (e.connectionLost()) throw;
            if (e.insufficientPrivilege()) {
                *refused = e.text();
                return i;
            }
        }
    }
    return -1;
}

QList<Statement> statementsOf(Query &q)
{
    QList<Statement> out;
    while (q.next())
        out.append({cleanVersion(q.text(QStringLiteral("版本号"))), q.text(QStringLiteral("sql语句"))});
    return out;
}

// The version to record when the statement at `stop` was refused: the newest one
// below every statement that has not run, so none of those is ever passed over.
QString versionBefore(const QList<Statement> &statements, int stop, const QString &current)
{
    QString pending = statements[stop].version;
    for (int i = stop; i < statements.size(); ++i)
        pending = qMin(pending, statements[i].version);
    QString done = current;
    for (int i = 0; i < stop; ++i)
        if (statements[i].version < pending && statements[i].version > done) done = statements[i].version;
    return done;
}

} // namespace

bool parsePatchSource(const QString &text, QList<PatchRow> *rows, QString *error)
{
    struct Patch { QString version, kind; QStringList lines; int line; };
    QList<Patch> patches;
    int lineNo = 0;
    for (const QString &line : text.split(u'\n')) {
        ++lineNo;
        const QString t = line.trimmed();
        if (t.startsWith(QStringLiteral("@@"))) {
            const QStringList parts = t.mid(2).split(u' ', Qt::SkipEmptyParts);
            if (parts.size() != 2) {
                *error = QStringLiteral("%1: expected \"@@ <version> <database>\"").arg(lineNo);
                return false;
            }
            patches.append({parts[0], parts[1], {}, lineNo});
        } else if (!patches.isEmpty() && !(patches.last().lines.isEmpty() && (t.isEmpty() || t.startsWith(u'#')))) {
            patches.last().lines << QString(line).remove(u'\r');
        }
    }
    rows->clear();
    for (Patch &p : patches) {
        // A comment after a statement belongs to what follows, not to the statement.
        while (!p.lines.isEmpty() && (p.lines.last().trimmed().isEmpty() || p.lines.last().trimmed().startsWith(u'#')))
            p.lines.removeLast();
        QString stmt = p.lines.join(u'\n').trimmed();
        if (stmt.endsWith(u';')) stmt.chop(1);
        if (stmt.isEmpty()) {
            *error = QStringLiteral("%1: empty statement for %2 %3").arg(p.line).arg(p.version, p.kind);
            return false;
        }
        rows->append({p.version, p.kind, stmt});
    }
    return true;
}

void writePatchDatabase(const QString &path, const QList<PatchRow> &rows)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
    auto db = Database::openSqlite(path);
    // A single self-contained file: it is shipped and opened read-only.
    db->execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
    Transaction tx(*db);
    db->execute(QStringLiteral("CREATE TABLE 命令表 (id INTEGER PRIMARY KEY AUTOINCREMENT, 版本号 TEXT, 数据库 TEXT, sql语句 TEXT)"));
    Query q(*db);
    q.prepare(QStringLiteral("insert into 命令表 (版本号,数据库,sql语句) values (:v,:k,:s)"));
    for (const PatchRow &r : rows)
        q.bind(QStringLiteral("v"), r.version).bind(QStringLiteral("k"), r.kind).bind(QStringLiteral("s"), r.sql).exec();
    tx.commit();
}

SchemaUpgrade::SchemaUpgrade(std::function<Database &()> patch, Database &main, Database &scratch, QString mainKind)
    : patch_(std::move(patch)), main_(main), scratch_(&scratch), mainKind_(std::move(mainKind))
{
}

SchemaUpgrade::SchemaUpgrade(std::function<Database &()> patch, Database &main, QString mainKind)
    : patch_(std::move(patch)), main_(main), scratch_(nullptr), mainKind_(std::move(mainKind))
{
}

SchemaUpgrade::Result SchemaUpgrade::run()
{
    Result r;
    try {
        upgradeMain(r);
        if (scratch_) upgradeScratch(r);
    } catch (const DbError &e) {
        // Start-up goes on without the upgrade; the user is told why.
        r.failed = true;
        r.notices << QStringLiteral("数据库升级出错：") + e.text();
    }
    return r;
}

void SchemaUpgrade::upgradeMain(Result &r)
{
    Database &patch = patch_();
    // The kind is one of the program's own constants, never typed input.
    const QString kindFilter = QStringLiteral(" and 数据库=") + u'\'' + mainKind_ + u'\'';
    Query p(patch);
    p.exec(QStringLiteral("select max(版本号) as cc from 命令表 where 1=1") + kindFilter);
    const QString target = p.next() ? cleanVersion(p.text(QStringLiteral("cc"))) : QString();

    const QString current = versionOf(main_);

    // In the order the patch database holds them, not sorted by version.
    p.prepare(QStringLiteral("select * from 命令表 where 版本号>:版本号1 and 版本号<=:版本号2") + kindFilter);
    p.bind(QStringLiteral("版本号1"), current).bind(QStringLiteral("版本号2"), target).exec();
    const QList<Statement> statements = statementsOf(p);
    const int stop = runStatements(main_, statements, &r.refused);
    r.mainStatements = stop < 0 ? int(statements.size()) : stop + 1;
    if (stop < 0) {
        recordVersion(main_, target);
    } else {
        const QString reached = versionBefore(statements, stop, current);
        if (reached != current) recordVersion(main_, reached);
    }
}

void SchemaUpgrade::upgradeScratch(Result &r)
{
    Database &patch = patch_();
    const QString kind = QStringLiteral("本地");
    Query p(patch);
    p.prepare(QStringLiteral("select max(版本号) as cc from 命令表 where 数据库=:数据库"));
    p.bind(QStringLiteral("数据库"), kind).exec();
    const QString target = p.next() ? cleanVersion(p.text(QStringLiteral("cc"))) : QString();

    Database &scratch = *scratch_;
    QString current;
    try {
        current = versionOf(scratch);
    } catch (const DbError &) {
        scratch.execute(QStringLiteral("CREATE TABLE 版本号 (版本号 TEXT (50))"));
        Query s(scratch);
        s.prepare(QStringLiteral("insert into 版本号 (版本号) values (:版本号)"));
        s.bind(QStringLiteral("版本号"), QString::fromLatin1(kScratchBaseVersion)).exec();
        current = versionOf(scratch);
    }

    p.prepare(QStringLiteral("select * from 命令表 where 版本号>:版本号1 and 版本号<=:版本号2 and 数据库=:数据库 order by 版本号"));
    p.bind(QStringLiteral("版本号1"), current).bind(QStringLiteral("版本号2"), target).bind(QStringLiteral("数据库"), kind).exec();
    const QList<Statement> statements = statementsOf(p);
    if (statements.isEmpty()) return;
    QString refused;
    runStatements(scratch, statements, &refused);   // SQLite refuses nothing
    r.scratchStatements = int(statements.size());
    recordVersion(scratch, target);
    r.notices << QStringLiteral("本地数据库版本升级到：") + target;
}
