// Benchmarks of the program on a (large) demo shop. Figures only: nothing here
// passes or fails on a time. Each figure is the median of several runs after one
// warm-up run, and stands beside the time the database alone needs for the same
// statements (plain QSqlQuery on its own connection, or the sqlite3 / psql tool),
// so the program's own overhead shows as a ratio. The shop is opened as the
// program opens it (kf.ini in the shop folder chooses single-user or network
// mode), so every figure can be taken on SQLite and on PostgreSQL.
//
//   bench_quenvar --shop FOLDER [--runs N] [--program PATH] [--sqlite3 PATH] [--psql PATH]
//                 [--only a,b] [--save FILE]
//   bench_quenvar --side-by-side SQLITE.tsv POSTGRESQL.tsv   (one table, both engines)
#include "app/ui/AllWindows.h"
#include "app/Database.h"
#include "app/ServerSetup.h"
#include "app/Session.h"
#include "app/Udm.h"
#include "masterdata/BarcodeGenerator.h"
#include "stock/DocumentNumbers.h"
#include "stock/StockLedger.h"
#include "ui/Modal.h"
#include "ui/RecordList.h"
#include "ui/WindowRegistry.h"

#ifdef QV_HAVE_OVERVIEW
#include "app/StockOverview.h"
#include "app/ui/Umain.h"
#include <QComboBox>
#endif

#include <QAbstractItemModel>
#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlDriver>
#include <QSqlRecord>
#include <QTableView>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

// ---------------------------------------------------------------- measuring

double median(std::vector<double> v)
{
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double msSince(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

struct Figure {
    QString name;
    double program = -1;   // ms (or MiB for memory)
    double bare = -1;
    QString unit = QStringLiteral("ms");
    QString note;
};

std::vector<Figure> g_figures;

void report(const Figure &f)
{
    g_figures.push_back(f);
    const QString ratio = f.program > 0 && f.bare > 0 ? QString::number(f.program / f.bare, 'f', 2) : QStringLiteral("-");
    std::fprintf(stderr, "%-48s program %10.2f %s   bare %10.2f %s   ratio %s   %s\n", f.name.toUtf8().constData(),
                 f.program, f.unit.toUtf8().constData(), f.bare, f.unit.toUtf8().constData(), ratio.toUtf8().constData(),
                 f.note.toUtf8().constData());
    std::fflush(stderr);
}

QString num(double v, int prec = 1) { return v < 0 ? QStringLiteral("n/a") : QString::number(v, 'f', prec); }

QString ratioText(double program, double bare)
{
    return program > 0 && bare > 0 ? QString::number(program / bare, 'f', 2) : QStringLiteral("-");
}

QString valueText(double v, const QString &unit)
{
    const int prec = unit == u"ms" && v >= 0 && v < 10 ? 2 : 1;
    return num(v, prec) + u' ' + unit;
}

void printTable()
{
    std::printf("| Measurement | Program | Database alone | Ratio | Note |\n|---|---:|---:|---:|---|\n");
    for (const Figure &f : g_figures)
        std::printf("| %s | %s | %s | %s | %s |\n", f.name.toUtf8().constData(), valueText(f.program, f.unit).toUtf8().constData(),
                    valueText(f.bare, f.unit).toUtf8().constData(), ratioText(f.program, f.bare).toUtf8().constData(),
                    f.note.toUtf8().constData());
    std::fflush(stdout);
}

// The figures of one run, one per line, for --side-by-side.
bool saveFigures(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QTextStream out(&f);
    for (const Figure &x : g_figures)
        out << x.name << '\t' << x.program << '\t' << x.bare << '\t' << x.unit << '\t' << QString(x.note).replace(u'\t', u' ') << '\n';
    return true;
}

std::vector<Figure> loadFigures(const QString &path)
{
    std::vector<Figure> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return out;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QStringList c = in.readLine().split(u'\t');
        if (c.size() < 5) continue;
        out.push_back({c[0], c[1].toDouble(), c[2].toDouble(), c[3], c[4]});
    }
    return out;
}

// One table with both engines side by side, in the order of the first file (the
// figures only one engine has come last).
int printSideBySide(const QString &sqlitePath, const QString &pgPath)
{
    const std::vector<Figure> a = loadFigures(sqlitePath), b = loadFigures(pgPath);
    if (a.empty() && b.empty()) {
        std::fprintf(stderr, "no figures in %s or %s\n", sqlitePath.toUtf8().constData(), pgPath.toUtf8().constData());
        return 1;
    }
    std::vector<QString> names;
    for (const Figure &f : a) names.push_back(f.name);
    for (const Figure &f : b)
        if (std::find(names.begin(), names.end(), f.name) == names.end()) names.push_back(f.name);
    auto find = [](const std::vector<Figure> &v, const QString &n) -> const Figure * {
        for (const Figure &f : v)
            if (f.name == n) return &f;
        return nullptr;
    };
    std::printf("| Measurement | SQLite: program | SQLite: alone | Ratio | PostgreSQL: program | PostgreSQL: alone | Ratio | Note |\n"
                "|---|---:|---:|---:|---:|---:|---:|---|\n");
    for (const QString &n : names) {
        const Figure *x = find(a, n), *y = find(b, n);
        auto cells = [](const Figure *f) {
            if (!f) return QStringLiteral("| | | ");
            return QStringLiteral("| %1 | %2 | %3 ").arg(valueText(f->program, f->unit), valueText(f->bare, f->unit),
                                                         ratioText(f->program, f->bare));
        };
        QString note = x ? x->note : QString();
        if (y && !y->note.isEmpty() && y->note != note)
            note += (note.isEmpty() ? QString() : QStringLiteral("; ")) + QStringLiteral("PostgreSQL: ") + y->note;
        std::printf("| %s %s%s| %s |\n", n.toUtf8().constData(), cells(x).toUtf8().constData(), cells(y).toUtf8().constData(),
                    note.toUtf8().constData());
    }
    std::fflush(stdout);
    return 0;
}

// Runs fn once to warm caches, then `runs` times; the median in ms.
double timed(int runs, const std::function<void()> &fn)
{
    fn();
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        fn();
        t.push_back(msSince(e));
    }
    return median(t);
}

// Program and bare database alternately (after one warm-up run of each), so a
// change in the machine's load hits both alike; the two medians in ms.
std::pair<double, double> timedPair(int runs, const std::function<void()> &program, const std::function<void()> &bare)
{
    program();
    bare();
    std::vector<double> p, b;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        program();
        p.push_back(msSince(e));
        e.restart();
        bare();
        b.push_back(msSince(e));
    }
    return {median(p), median(b)};
}

// ---------------------------------------------------------------- child processes

struct ChildRun {
    bool ok = false;           // exited by itself with status 0
    QByteArray out;
    double wallMs = 0;
    long maxRssKb = 0;
};

ChildRun spawn(const QString &program, const QStringList &args, const QList<QByteArray> &extraEnv, int timeoutMs)
{
    ChildRun r;
    int pipefd[2];
    if (pipe(pipefd) != 0) return r;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, pipefd[1], 1);
    posix_spawn_file_actions_addclose(&fa, pipefd[0]);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);

    QList<QByteArray> argStore{QFile::encodeName(program)};
    for (const QString &a : args) argStore << a.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);
    QList<QByteArray> envStore;
    for (char **e = environ; *e; ++e) {
        const QByteArray kv(*e);
        const QByteArray key = kv.left(kv.indexOf('=') + 1);
        bool replaced = false;
        for (const QByteArray &x : extraEnv) replaced |= x.startsWith(key);
        if (!replaced) envStore << kv;
    }
    envStore << extraEnv;
    std::vector<char *> envp;
    for (QByteArray &e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);

    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&fa);
    close(pipefd[1]);
    if (rc != 0) { close(pipefd[0]); return r; }
    bool killed = false;
    char buf[4096];
    for (;;) {
        const int left = timeoutMs - int(timer.elapsed());
        if (left <= 0) { kill(pid, SIGKILL); killed = true; break; }
        pollfd p{pipefd[0], POLLIN, 0};
        const int n = poll(&p, 1, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) continue;
        const ssize_t got = read(pipefd[0], buf, sizeof buf);
        if (got <= 0) break;
        r.out.append(buf, got);
    }
    close(pipefd[0]);
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    r.wallMs = msSince(timer);
    r.maxRssKb = ru.ru_maxrss;
    r.ok = !killed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

// ---------------------------------------------------------------- the bare database

// Where the shop's main database is: data.mdb, or the server kf.ini names.
struct ShopDb {
    bool network = false;
    QString file;      // single-user: data.mdb
    PgParams server;   // network mode
};

// A connection of its own on the shop's main database: plain Qt SQL, no
// statement layer, no models.
class Bare {
public:
    explicit Bare(const ShopDb &shop)
    {
        if (shop.network) {
            db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench_bare"));
            db_.setHostName(shop.server.host());
            db_.setPort(shop.server.port());
            db_.setUserName(shop.server.user);
            db_.setPassword(shop.server.password);
            db_.setDatabaseName(shop.server.database);
            // Numbers as exact text, as the program reads them.
            db_.setNumericalPrecisionPolicy(QSql::HighPrecision);
        } else {
            db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench_bare"));
            db_.setDatabaseName(shop.file);
            db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        }
        if (!db_.open()) throw DbError(db_.lastError().text());
        sqlite_ = !shop.network;
        if (sqlite_) {
            // The same durability as the program's connection.
            exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            exec(QStringLiteral("PRAGMA synchronous=FULL"));
        }
    }
    bool isSqlite() const { return sqlite_; }
    // Runs a statement and fetches at most `rows` rows (all when negative); the number fetched.
    int fetch(const QString &sql, const QVariantList &values, int rows)
    {
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!q.prepare(sql)) throw DbError(q.lastError().text() + u' ' + sql);
        for (int i = 0; i < values.size(); ++i) q.bindValue(i, values[i]);
        if (!q.exec()) throw DbError(q.lastError().text() + u' ' + sql);
        int n = 0;
        const int cols = q.record().count();
        while ((rows < 0 || n < rows) && q.next()) {
            for (int c = 0; c < cols; ++c) (void)q.value(c);
            ++n;
        }
        return n;
    }
    void exec(const QString &sql)
    {
        QSqlQuery q(db_);
        if (!q.exec(sql)) throw DbError(q.lastError().text() + u' ' + sql);
    }
    QSqlDatabase &db() { return db_; }
private:
    QSqlDatabase db_;
    bool sqlite_ = true;
};

struct Context {
    QString shop, program, sqlite3, psql;
    ShopDb db;
    int runs = 7;
    QStringList only;
    bool want(const QString &name) const { return only.isEmpty() || only.contains(name); }
};

// A warehouse and an article that has stock there, for the one-warehouse and the
// breakdown figures.
struct Sample {
    QString warehouse;
    qint64 article = 0;
};

Sample pickSample(Bare &bare)
{
    Sample s;
    QSqlQuery q(bare.db());
    q.exec(QStringLiteral("select 库房名称, count(*) as n from 库存总表 group by 库房名称 order by n desc"));
    if (q.next()) s.warehouse = q.value(0).toString();
    q.exec(QStringLiteral("select 商品编码 from 库存尺码表 where 库房名称='%1' order by 商品编码 limit 1 offset 100").arg(s.warehouse));
    // PostgreSQL may give the key as numeric text ("5.0000").
    if (q.next()) s.article = Money::fromVariant(q.value(0)).units() / Money::kScale;
    return s;
}

// The database's own command-line tool running `sql` on the shop's main
// database: sqlite3 on data.mdb (read only), or psql on the server.
ChildRun runDbTool(const Context &cx, const QString &sql, int timeoutMs)
{
    if (!cx.db.network)
        return spawn(cx.sqlite3, {QStringLiteral("-readonly"), cx.db.file, sql}, {}, timeoutMs);
    const PgParams &p = cx.db.server;
    return spawn(cx.psql,
                 {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-h"), p.host(), QStringLiteral("-p"),
                  QString::number(p.port()), QStringLiteral("-U"), p.user, QStringLiteral("-d"), p.database, QStringLiteral("-c"), sql},
                 {QByteArrayLiteral("PGPASSWORD=") + p.password.toUtf8()}, timeoutMs);
}

QString dbToolName(const Context &cx) { return cx.db.network ? QStringLiteral("psql") : QStringLiteral("sqlite3"); }

// ---------------------------------------------------------------- start-up

void benchStartup(const Context &cx)
{
    const QList<QByteArray> env{QByteArrayLiteral("QT_QPA_PLATFORM=offscreen"), QByteArrayLiteral("QUENVAR_BENCH_STARTUP=1")};
    const QStringList args{QStringLiteral("--shop"), cx.shop};
    std::vector<double> login, wall;
    long rss = 0;
    bool ok = true;
    for (int i = 0; i <= cx.runs && ok; ++i) {
        const ChildRun r = spawn(cx.program, args, env, 30000);
        const QByteArray tag("login-window-ms ");
        const int at = r.out.indexOf(tag);
        if (!r.ok || at < 0) { ok = false; break; }
        if (i == 0) continue;   // warm-up
        login.push_back(r.out.mid(at + tag.size()).trimmed().split('\n').first().toDouble());
        wall.push_back(r.wallMs);
        rss = std::max(rss, r.maxRssKb);
    }
    // The database alone: a process that opens the shop's databases and reads what
    // start-up and the login window read (on a server: the main database's rows;
    // the scratch and patch files are SQLite files on both).
    const QString sql = cx.db.network
        ? QStringLiteral("select * from 版本号; select * from 登陆 where 用户='admin';")
        : QStringLiteral("attach '%1' as t; attach '%2' as b; select * from main.版本号; select * from t.版本号; "
                         "select count(*) from b.命令表; select * from 登陆 where 用户='admin';")
              .arg(QDir(cx.shop).filePath(QStringLiteral("temp.mdb")),
                   QFileInfo(cx.program).dir().filePath(QStringLiteral("buding.mdb")));
    std::vector<double> bare;
    long bareRss = 0;
    for (int i = 0; i <= cx.runs; ++i) {
        const ChildRun r = runDbTool(cx, sql, 30000);
        if (i == 0) continue;
        bare.push_back(r.wallMs);
        bareRss = std::max(bareRss, r.maxRssKb);
    }
    if (!ok) {
        report({QStringLiteral("Start-up to the login window"), -1, median(bare), QStringLiteral("ms"),
                QStringLiteral("program did not report login-window-ms")});
        return;
    }
    report({QStringLiteral("Start-up to the login window (login-window-ms)"), median(login), median(bare), QStringLiteral("ms"),
            QStringLiteral("bare: %1 process reading the same start-up rows").arg(dbToolName(cx))});
    report({QStringLiteral("Start-up process, spawn to exit"), median(wall), median(bare), QStringLiteral("ms"), QString()});
    report({QStringLiteral("Peak memory at the login window"), rss / 1024.0, bareRss / 1024.0, QStringLiteral("MiB"),
            QStringLiteral("max RSS (wait4); bare: the %1 process").arg(dbToolName(cx))});
}

// ---------------------------------------------------------------- overview

// The statements the main window runs, on the bare connection. `rows` is how many
// rows of the result the grid holds once it is open.
int bareOverviewOne(Bare &b, const QString &warehouse, int rows)
{
    if (warehouse.isEmpty())
        return b.fetch(QStringLiteral("select 商品编码,商品名称,sum(数量) as 数量,货号 from 库存总表 where 1=1 "
                                      "group by 商品编码,商品名称,货号"), {}, rows);
    return b.fetch(QStringLiteral("select 商品编码,商品名称,sum(数量) as 数量,货号 from 库存总表 where 1=1 and 库房名称=? "
                                  "group by 商品编码,商品名称,货号"), {warehouse}, rows);
}

int bareOverviewTwo(Bare &b, const QString &warehouse, int rows)
{
    if (warehouse.isEmpty()) {
        b.fetch(QStringLiteral("select sum(数量) from 库存尺码表 where 1=1"), {}, 1);
        return b.fetch(QStringLiteral("select * from 库存尺码表 where 1=1 order by 商品编码,商品名称,库房名称"), {}, rows);
    }
    b.fetch(QStringLiteral("select sum(数量) from 库存尺码表 where 1=1 and 库房名称=?"), {warehouse}, 1);
    return b.fetch(QStringLiteral("select * from 库存尺码表 where 1=1 and 库房名称=? order by 商品编码,商品名称,库房名称"),
                   {warehouse}, rows);
}

void bareBreakdown(Bare &b, qint64 article, const QString &warehouse)
{
    QSqlQuery q(b.db());
    q.prepare(QStringLiteral("select * from 商品列表 where id=?"));
    q.bindValue(0, article);
    q.exec();
    q.next();
    const QString rule = q.value(QStringLiteral("尺码规则")).toString();
    const QString group = q.value(QStringLiteral("颜色组")).toString();
    b.fetch(QStringLiteral("select * from 商品尺码 where 尺码规则=? order by 排序编号,id"), {rule}, -1);
    b.fetch(QStringLiteral("select * from 颜色列表 where 颜色组=? order by id"), {group}, -1);
    if (warehouse.isEmpty())
        b.fetch(QStringLiteral("select 商品编码,商品尺码,颜色,sum(数量) as 数量 from 库存尺码表 where 商品编码=? "
                               "group by 商品编码,商品尺码,颜色"), {article}, -1);
    else
        b.fetch(QStringLiteral("select 商品编码,商品尺码,颜色,sum(数量) as 数量 from 库存尺码表 where 商品编码=? and 库房名称=? "
                               "group by 商品编码,商品尺码,颜色"), {article, warehouse}, -1);
}

void bareTakings(Bare &b)
{
    const QString d1 = sqlvalue::dayText(QDate::currentDate());
    const QString d2 = sqlvalue::dayText(QDate::currentDate().addDays(1));
    b.fetch(QStringLiteral("select sum(数量) as cc from 销售明细表 where 日期时间>=? and 日期时间<?"), {d1, d2}, 1);
    b.fetch(QStringLiteral("select sum(折后金额) as 折后金额,sum(现金收入) as 现金收入,sum(账户支付) as 账户支付,"
                           "sum(代金卷) as 代金卷,sum(信用卡收取) as 信用卡收取 from 销售总表 where 日期时间>=? and 日期时间<?"),
            {d1, d2}, 1);
}

// Runs a statement of the program's convention (named parameters) on the bare
// connection: the same text, the parameters bound by position.
int bareStatement(Bare &b, const QString &sql, const QVariantMap &params, int rows)
{
    QStringList names;
    const QString text = Query::rewrite(sql, &names);
    QVariantList values;
    for (const QString &n : names) {
        QVariant v = params.value(n);
        if (v.metaType().id() == QMetaType::QDate) v = sqlvalue::dayText(v.toDate());
        values << v;
    }
    return b.fetch(text, values, rows);
}

#ifdef QV_HAVE_OVERVIEW

overview::Filter filterOf(const QString &warehouse)
{
    overview::Filter f;
    f.warehouse = warehouse.isEmpty() ? QString::fromUtf8(overview::kAllWarehouses) : warehouse;
    return f;
}

void benchOverview(const Context &cx, Bare &b, const Sample &s)
{
    Database &db = DM->ADOConnection1;
    for (const QString &wh : {QString(), s.warehouse}) {
        const overview::Filter f = filterOf(wh);
        const QString where = wh.isEmpty() ? QStringLiteral("all warehouses") : QStringLiteral("one warehouse (%1)").arg(wh);
        {
            const overview::Statement st = overview::modeOne(f);
            const overview::Statement first = overview::page(st, 0, overview::PagedRows::kPageSize);
            int rows = 0;
            const auto progFn = [&] {
                overview::PagedRows list(db, QStringLiteral("库存总表"));
                list.load(st);
                rows = list.rowCount();
            };
            const auto bareFn = [&] { bareStatement(b, first.sql, first.params, rows); };
            const auto [program, bare] = timedPair(cx.runs, progFn, bareFn);
            report({QStringLiteral("Overview mode one, ") + where, program, bare, QStringLiteral("ms"),
                    QStringLiteral("first %1 rows").arg(rows)});
        }
        {
            const overview::Statement st = overview::modeTwo(f);
            const overview::Statement first = overview::page(st, 0, overview::PagedRows::kPageSize);
            const overview::Statement sum = overview::modeTwoTotal(f);
            int rows = 0;
            const auto progFn = [&] {
                overview::PagedRows list(db, QStringLiteral("库存尺码表"));
                list.load(st);
                rows = list.rowCount();
                (void)overview::modeTwoSum(db, f);
            };
            const auto bareFn = [&] {
                bareStatement(b, first.sql, first.params, rows);
                bareStatement(b, sum.sql, sum.params, 1);
            };
            const auto [program, bare] = timedPair(cx.runs, progFn, bareFn);
            report({QStringLiteral("Overview mode two, ") + where, program, bare, QStringLiteral("ms"),
                    QStringLiteral("first %1 rows and the footer sum").arg(rows)});
        }
    }
    {
        const overview::Filter f = filterOf(QString());
        const auto progFn = [&] { (void)overview::breakdown(db, s.article, f); };
        const auto bareFn = [&] { bareBreakdown(b, s.article, QString()); };
        const auto [program, bare] = timedPair(cx.runs, progFn, bareFn);
        report({QStringLiteral("Breakdown of one article, all warehouses"), program, bare, QStringLiteral("ms"),
                QStringLiteral("article %1").arg(s.article)});
    }
    {
        const auto progFn = [&] { (void)overview::takings(db, QDate::currentDate()); };
        const auto bareFn = [&] { bareTakings(b); };
        const auto [program, bare] = timedPair(cx.runs, progFn, bareFn);
        report({QStringLiteral("Today's takings"), program, bare, QStringLiteral("ms"), QString()});
    }
    // The whole window: 刷新 and the warehouse filter reload both grids, the
    // footer and the breakdown of the first article, and repaint.
    {
        session().CurrentUser = QStringLiteral("admin");
        TFmain w;
        setWindowParent(&w);
        w.resize(1280, 800);
        w.show();
        QCoreApplication::processEvents();
        auto *combo = w.findChild<QComboBox *>(QStringLiteral("ComboBox1"));
        auto refresh = [&](const QString &wh) {
            if (combo) combo->setCurrentIndex(wh.isEmpty() ? 0 : combo->findText(wh));
            w.Button3Click();
            QCoreApplication::processEvents();
        };
        for (const QString &wh : {QString(), s.warehouse}) {
            const auto progFn = [&] { refresh(wh); };
            const overview::Filter f = filterOf(wh);
            const int n = overview::PagedRows::kPageSize;
            const overview::Statement one = overview::page(overview::modeOne(f), 0, n),
                                      two = overview::page(overview::modeTwo(f), 0, n),
                                      sum = overview::modeTwoTotal(f);
            const auto bareFn = [&] {
                bareStatement(b, one.sql, one.params, n);
                bareStatement(b, two.sql, two.params, n);
                bareStatement(b, sum.sql, sum.params, 1);
                bareBreakdown(b, s.article, wh);
            };
            const auto [program, bare] = timedPair(cx.runs, progFn, bareFn);
            report({QStringLiteral("Main window 刷新, ") + (wh.isEmpty() ? QStringLiteral("all warehouses") : QStringLiteral("one warehouse")),
                    program, bare, QStringLiteral("ms"), QStringLiteral("TFmain shown 1280x800: both grids, footer, breakdown, repaint")});
        }
        setWindowParent(nullptr);
        resetWindows();
    }
}

// A child process that opens the shop and shows the main window with its
// overview, then ends: its peak memory and time are the program's.
int childMainWindow(const QString &shop, const QString &programDir, const QString &grab)
{
    QElapsedTimer t;
    t.start();
    paths().programDir = programDir;
    paths().shopDir = shop;
    registerAllWindows();
    TFmain w;
    setWindowParent(&w);
    std::unique_ptr<TDM> dm = TDM::open();
    DM = dm.get();
    session().CurrentUser = QStringLiteral("admin");
    w.resize(1280, 800);
    w.show();
    QCoreApplication::processEvents();
    std::printf("main-window-ms %.1f\n", msSince(t));
    std::fflush(stdout);
    if (!grab.isEmpty()) {
        w.Button1Click();   // today's takings, so the picture shows them
        QCoreApplication::processEvents();
        w.grab().save(grab);
    }
    setWindowParent(nullptr);
    resetWindows();
    DM = nullptr;
    return 0;
}

void benchMainWindowMemory(const Context &cx)
{
    const ChildRun r = spawn(QCoreApplication::applicationFilePath(),
                             {QStringLiteral("--child"), QStringLiteral("main-window"), QStringLiteral("--shop"), cx.shop,
                              QStringLiteral("--program"), cx.program},
                             {QByteArrayLiteral("QT_QPA_PLATFORM=offscreen")}, 120000);
    // The database alone: the same statements in the database's tool, first rows only.
    const QString sql = QStringLiteral(
        "select 商品编码,商品名称,sum(数量) as 数量,货号 from 库存总表 group by 商品编码,商品名称,货号 order by 商品编码 limit 256;"
        "select * from 库存尺码表 order by 商品编码,商品名称,库房名称 limit 256; select sum(数量) from 库存尺码表;");
    const ChildRun bare = runDbTool(cx, sql, 120000);
    report({QStringLiteral("Peak memory, main window with the overview"), r.ok ? r.maxRssKb / 1024.0 : -1,
            bare.ok ? bare.maxRssKb / 1024.0 : -1, QStringLiteral("MiB"),
            QStringLiteral("max RSS of a process that opens the shop and shows TFmain (%1); bare: %2 with the same statements")
                .arg(QString::fromUtf8(r.out.trimmed()), dbToolName(cx))});
}

#else
void benchOverview(const Context &cx, Bare &b, const Sample &s)
{
    // The program's overview is not part of this build: the bare figures alone.
    report({QStringLiteral("Overview mode one, all warehouses"), -1, timed(cx.runs, [&] { bareOverviewOne(b, QString(), 256); })});
    report({QStringLiteral("Overview mode one, one warehouse"), -1, timed(cx.runs, [&] { bareOverviewOne(b, s.warehouse, 256); })});
    report({QStringLiteral("Overview mode two, all warehouses"), -1, timed(cx.runs, [&] { bareOverviewTwo(b, QString(), 256); })});
    report({QStringLiteral("Overview mode two, one warehouse"), -1, timed(cx.runs, [&] { bareOverviewTwo(b, s.warehouse, 256); })});
    report({QStringLiteral("Breakdown of one article"), -1, timed(cx.runs, [&] { bareBreakdown(b, s.article, QString()); })});
    report({QStringLiteral("Today's takings"), -1, timed(cx.runs, [&] { bareTakings(b); })});
}
int childMainWindow(const QString &, const QString &, const QString &) { return 1; }
void benchMainWindowMemory(const Context &) {}
#endif

// ---------------------------------------------------------------- barcode generation

void benchBarcodes(const Context &cx, Bare &b)
{
    // The generation rewrites 商品条码表: both sides run inside a transaction that
    // is rolled back afterwards, so the shop stays as it was (the generator's own
    // transaction nests in the outer guard).
    Database &db = DM->ADOConnection1;
    std::vector<qint64> ids;
    {
        Query q(db);
        q.exec(QStringLiteral("select id from 商品列表 order by id"));
        while (q.next()) ids.push_back(q.integer(QStringLiteral("id")));
    }
    qint64 rows = 0;
    const int runs = std::max(1, cx.runs / 2);
    const auto programFn = [&] {
        Transaction outer(db);
        rows = BarcodeGenerator(db).generate(ids).barcodes;
    };   // not committed: rolled back
    const auto bareFn = [&] {
        // The same rows by one insert ... select.
        b.exec(b.isSqlite() ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
        b.exec(QStringLiteral("delete from 商品条码表"));
        b.exec(QStringLiteral(
            "insert into 商品条码表 (商品编码,商品货号,颜色,尺码,商品条码) "
            "select a.id, a.货号, l.颜色, z.尺码, case when a.条码格式='货号+尺码+颜色' then a.货号||s.条码||c.条码 "
            "else a.货号||c.条码||s.条码 end "
            "from 商品列表 a join 商品尺码 z on z.尺码规则=a.尺码规则 "
            "join 尺码条码设置 s on s.商品编号=a.id and s.尺码=z.尺码 "
            "join 颜色列表 l on l.颜色组=a.颜色组 "
            "join 颜色条码设置 c on c.商品编号=a.id and c.颜色=l.颜色 "
            "where s.条码<>'' and c.条码<>'' order by a.id, z.排序编号, z.id, l.id"));
        b.exec(QStringLiteral("ROLLBACK"));
    };
    const auto [program, bare] = timedPair(runs, programFn, bareFn);
    report({QStringLiteral("Barcode generation, every article"), program, bare, QStringLiteral("ms"),
            QStringLiteral("%1 articles, %2 rows, rolled back; bare: one insert ... select").arg(ids.size()).arg(rows)});
}

// ---------------------------------------------------------------- postings

// The lines of the documents posted: existing stock rows of the large shop, so a
// posting finds its rows as a day's postings mostly do.
struct ReceiptLine {
    qint64 article = 0;
    QString name, articleNo;
    Money cost;
    struct Size { QString size, colour, barcode; };
    std::vector<Size> sizes;
};
struct SaleLine {
    qint64 article = 0;
    QString name, articleNo, category, size, colour, barcode;
    Money price;
};

constexpr int kReceiptLines = 30, kSaleLines = 5, kPieces = 2;

std::vector<ReceiptLine> receiptLines(Bare &b, const QString &warehouse)
{
    std::vector<ReceiptLine> out;
    QSqlQuery q(b.db());
    q.prepare(QStringLiteral("select s.商品编码, a.商品名称, a.货号, a.预设进价 from 库存总表 s join 商品列表 a on a.id=s.商品编码 "
                             "where s.库房名称=? order by s.商品编码 limit %1 offset 300").arg(kReceiptLines));
    q.bindValue(0, warehouse);
    q.exec();
    while (q.next()) {
        ReceiptLine l;
        l.article = Money::fromVariant(q.value(0)).units() / Money::kScale;
        l.name = q.value(1).toString();
        l.articleNo = q.value(2).toString();
        l.cost = Money::fromVariant(q.value(3));
        out.push_back(l);
    }
    for (ReceiptLine &l : out) {
        QSqlQuery z(b.db());
        z.prepare(QStringLiteral("select 商品尺码, 颜色, 商品条码 from 库存尺码表 where 商品编码=? and 库房名称=? order by id"));
        z.bindValue(0, l.article);
        z.bindValue(1, warehouse);
        z.exec();
        while (z.next()) l.sizes.push_back({z.value(0).toString(), z.value(1).toString(), z.value(2).toString()});
    }
    return out;
}

std::vector<SaleLine> saleLines(Bare &b, const QString &warehouse)
{
    std::vector<SaleLine> out;
    QSqlQuery q(b.db());
    q.prepare(QStringLiteral("select s.商品编码, a.商品名称, a.货号, a.商品类别, s.商品尺码, s.颜色, s.商品条码, a.零售价格 "
                             "from 库存尺码表 s join 商品列表 a on a.id=s.商品编码 where s.库房名称=? and s.数量>0 "
                             "order by s.id limit %1 offset 1000").arg(kSaleLines));
    q.bindValue(0, warehouse);
    q.exec();
    while (q.next())
        out.push_back({Money::fromVariant(q.value(0)).units() / Money::kScale, q.value(1).toString(), q.value(2).toString(),
                       q.value(3).toString(), q.value(4).toString(), q.value(5).toString(), q.value(6).toString(),
                       Money::fromVariant(q.value(7))});
    return out;
}

// The program's way: the number rule, the statement layer and the stock ledger
// in one transaction, statements prepared per posting as a posting does.
QString postReceiptProgram(Database &db, const QString &warehouse, const std::vector<ReceiptLine> &lines)
{
    const QDate today = QDate::currentDate();
    const QString kind = QStringLiteral("采购入库"), staff = QStringLiteral("admin");
    Transaction tx(db);
    const DocumentNumber n = NextDocumentNumber(db, DocumentKind::PurchaseReceipt, today);
    Money due;
    for (const ReceiptLine &l : lines) due += l.cost * Money::fromInt(qint64(l.sizes.size()) * kPieces);
    Query head(db);
    head.prepare(QStringLiteral("insert into 出库入库总表 (单据编号,货单辅助编号,单据类型,填表日期,库房名称,供货商,应付货款,实付货款,经手员工,备注) "
                                "values (:单据编号,:货单辅助编号,:单据类型,:填表日期,:库房名称,:供货商,:应付货款,:实付货款,:经手员工,:备注)"));
    head.bind(QStringLiteral("单据编号"), n.number).bind(QStringLiteral("货单辅助编号"), n.auxiliary).bind(QStringLiteral("单据类型"), kind)
        .bind(QStringLiteral("填表日期"), today).bind(QStringLiteral("库房名称"), warehouse).bind(QStringLiteral("供货商"), QStringLiteral("测试供货商"))
        .bind(QStringLiteral("应付货款"), QVariant::fromValue(due)).bind(QStringLiteral("实付货款"), QVariant::fromValue(due))
        .bind(QStringLiteral("经手员工"), staff).bind(QStringLiteral("备注"), QString()).exec();
    StockLedger ledger(db);
    Query line(db);
    line.prepare(QStringLiteral("insert into 出库入库明细表 (填表日期,单据编号,库房名称,经手员工,单据类型,商品编码,商品名称,货号,数量,进价,金额,临时码) "
                                "values (:填表日期,:单据编号,:库房名称,:经手员工,:单据类型,:商品编码,:商品名称,:货号,:数量,:进价,:金额,:临时码)"));
    for (size_t i = 0; i < lines.size(); ++i) {
        const ReceiptLine &l = lines[i];
        const Money qty = Money::fromInt(qint64(l.sizes.size()) * kPieces);
        ledger.AdjustArticleTotal(l.article, qty);
        ledger.AdjustWarehouseStock(l.article, warehouse, qty, {l.name, l.articleNo, std::nullopt});
        line.bind(QStringLiteral("填表日期"), today).bind(QStringLiteral("单据编号"), n.number).bind(QStringLiteral("库房名称"), warehouse)
            .bind(QStringLiteral("经手员工"), staff).bind(QStringLiteral("单据类型"), kind).bind(QStringLiteral("商品编码"), l.article)
            .bind(QStringLiteral("商品名称"), l.name).bind(QStringLiteral("货号"), l.articleNo).bind(QStringLiteral("数量"), QVariant::fromValue(qty))
            .bind(QStringLiteral("进价"), QVariant::fromValue(l.cost)).bind(QStringLiteral("金额"), QVariant::fromValue(l.cost * qty))
            .bind(QStringLiteral("临时码"), QString::number(i + 1)).exec();
    }
    Query sizeLine(db);
    sizeLine.prepare(QStringLiteral("insert into 入库尺码明细表 (单据编号,商品编码,尺码,颜色,数量,临时码,货号,商品名称,商品条码) "
                                    "values (:单据编号,:商品编码,:尺码,:颜色,:数量,:临时码,:货号,:商品名称,:商品条码)"));
    for (size_t i = 0; i < lines.size(); ++i) {
        const ReceiptLine &l = lines[i];
        for (const ReceiptLine::Size &z : l.sizes) {
            ledger.AdjustSizeStock(l.article, warehouse, z.size, z.colour, Money::fromInt(kPieces), {l.name, l.articleNo, z.barcode});
            sizeLine.bind(QStringLiteral("单据编号"), n.number).bind(QStringLiteral("商品编码"), l.article).bind(QStringLiteral("尺码"), z.size)
                .bind(QStringLiteral("颜色"), z.colour).bind(QStringLiteral("数量"), QVariant::fromValue(Money::fromInt(kPieces)))
                .bind(QStringLiteral("临时码"), QString::number(i + 1)).bind(QStringLiteral("货号"), l.articleNo)
                .bind(QStringLiteral("商品名称"), l.name).bind(QStringLiteral("商品条码"), z.barcode).exec();
        }
    }
    tx.commit();
    return n.number;
}

QString postSaleProgram(Database &db, const QString &warehouse, const std::vector<SaleLine> &lines)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QString kind = QStringLiteral("零售"), staff = QStringLiteral("admin");
    Transaction tx(db);
    const DocumentNumber n = NextDocumentNumber(db, DocumentKind::RetailSale, now.date());
    Money amount;
    for (const SaleLine &l : lines) amount += l.price;
    Query head(db);
    head.prepare(QStringLiteral("insert into 销售总表 (销售辅助单号,销售单号,操作员,日期时间,账户支付,现金收入,代金卷,信用卡收取,收款方式,折后金额,"
                                "签单人,交班完毕,会员卡号,获取积分,销售类型,导购员) values (:销售辅助单号,:销售单号,:操作员,:日期时间,:账户支付,"
                                ":现金收入,:代金卷,:信用卡收取,:收款方式,:折后金额,:签单人,:交班完毕,:会员卡号,:获取积分,:销售类型,:导购员)"));
    head.bind(QStringLiteral("销售辅助单号"), n.auxiliary).bind(QStringLiteral("销售单号"), n.number).bind(QStringLiteral("操作员"), staff)
        .bind(QStringLiteral("日期时间"), now).bind(QStringLiteral("账户支付"), QVariant::fromValue(Money()))
        .bind(QStringLiteral("现金收入"), QVariant::fromValue(amount)).bind(QStringLiteral("代金卷"), QVariant::fromValue(Money()))
        .bind(QStringLiteral("信用卡收取"), QVariant::fromValue(Money())).bind(QStringLiteral("收款方式"), QStringLiteral("现金"))
        .bind(QStringLiteral("折后金额"), QVariant::fromValue(amount)).bind(QStringLiteral("签单人"), QString())
        .bind(QStringLiteral("交班完毕"), QStringLiteral("否")).bind(QStringLiteral("会员卡号"), QString())
        .bind(QStringLiteral("获取积分"), QVariant::fromValue(Money())).bind(QStringLiteral("销售类型"), kind)
        .bind(QStringLiteral("导购员"), QString()).exec();
    StockLedger ledger(db);
    Query line(db);
    line.prepare(QStringLiteral("insert into 销售明细表 (品名,条形码,计量单位,销售价,销售单号,数量,可退数量,金额合计,操作员,日期时间,打折,利润,"
                                "销售类型,商品类别,尺码,颜色) values (:品名,:条形码,:计量单位,:销售价,:销售单号,:数量,:可退数量,:金额合计,"
                                ":操作员,:日期时间,:打折,:利润,:销售类型,:商品类别,:尺码,:颜色)"));
    const Money one = Money::fromInt(1);
    for (const SaleLine &l : lines) {
        const StockDescription d{l.name, l.articleNo, l.barcode};
        ledger.AdjustSizeStock(l.article, warehouse, l.size, l.colour, -one, d, d);
        ledger.AdjustWarehouseStock(l.article, warehouse, -one);
        ledger.AdjustArticleTotal(l.article, -one);
        line.bind(QStringLiteral("品名"), l.name).bind(QStringLiteral("条形码"), l.barcode).bind(QStringLiteral("计量单位"), QStringLiteral("件"))
            .bind(QStringLiteral("销售价"), QVariant::fromValue(l.price)).bind(QStringLiteral("销售单号"), n.number)
            .bind(QStringLiteral("数量"), QVariant::fromValue(one)).bind(QStringLiteral("可退数量"), QVariant::fromValue(one))
            .bind(QStringLiteral("金额合计"), QVariant::fromValue(l.price)).bind(QStringLiteral("操作员"), staff).bind(QStringLiteral("日期时间"), now)
            .bind(QStringLiteral("打折"), 100).bind(QStringLiteral("利润"), QVariant::fromValue(l.price)).bind(QStringLiteral("销售类型"), kind)
            .bind(QStringLiteral("商品类别"), l.category).bind(QStringLiteral("尺码"), l.size).bind(QStringLiteral("颜色"), l.colour).exec();
    }
    tx.commit();
    return n.number;
}

// The database alone: the same rows written by hand-written statements on the
// bare connection, prepared once and reused, values bound by position.
class BarePosting {
public:
    explicit BarePosting(Bare &b) : b_(b) {}

    QString receipt(const QString &warehouse, const std::vector<ReceiptLine> &lines)
    {
        const QString day = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
        const QString today = sqlvalue::dayText(QDate::currentDate());
        const QString kind = QStringLiteral("采购入库"), staff = QStringLiteral("admin");
        begin(0x51560000LL + int(DocumentKind::PurchaseReceipt));
        const auto [aux, number] = draw(QStringLiteral("rlast"),
            QStringLiteral("select 货单辅助编号 from 出库入库总表 where 货单辅助编号>=? and 货单辅助编号<? and 单据类型=? "
                           "order by length(货单辅助编号) desc, 货单辅助编号 desc limit 5"),
            QStringLiteral("rused"), QStringLiteral("select count(*) from 出库入库总表 where 单据编号=?"), day, kind, QStringLiteral("JH"), 2);
        Money due;
        for (const ReceiptLine &l : lines) due += l.cost * Money::fromInt(qint64(l.sizes.size()) * kPieces);
        run(QStringLiteral("rhead"), QStringLiteral("insert into 出库入库总表 (单据编号,货单辅助编号,单据类型,填表日期,库房名称,供货商,应付货款,实付货款,经手员工,备注) "
                                                   "values (?,?,?,?,?,?,?,?,?,?)"),
            {number, aux, kind, today, warehouse, QStringLiteral("测试供货商"), due.toSqlText(), due.toSqlText(), staff, QString()});
        for (size_t i = 0; i < lines.size(); ++i) {
            const ReceiptLine &l = lines[i];
            const Money qty = Money::fromInt(qint64(l.sizes.size()) * kPieces);
            run(QStringLiteral("rarticle"), QStringLiteral("update 商品列表 set 数量=coalesce(数量,0)+? where id=?"), {qty.toSqlText(), l.article});
            run(QStringLiteral("rwarehouse"), QStringLiteral("insert into 库存总表 (商品编码,库房名称,数量,商品名称,货号) values (?,?,?,?,?) "
                                                            "on conflict (商品编码,库房名称) do update set 数量=coalesce(库存总表.数量,0)+excluded.数量"),
                {l.article, warehouse, qty.toSqlText(), l.name, l.articleNo});
            run(QStringLiteral("rline"), QStringLiteral("insert into 出库入库明细表 (填表日期,单据编号,库房名称,经手员工,单据类型,商品编码,商品名称,货号,数量,进价,金额,临时码) "
                                                       "values (?,?,?,?,?,?,?,?,?,?,?,?)"),
                {today, number, warehouse, staff, kind, l.article, l.name, l.articleNo, qty.toSqlText(), l.cost.toSqlText(),
                 (l.cost * qty).toSqlText(), QString::number(i + 1)});
        }
        const QString pieces = Money::fromInt(kPieces).toSqlText();
        for (size_t i = 0; i < lines.size(); ++i) {
            const ReceiptLine &l = lines[i];
            for (const ReceiptLine::Size &z : l.sizes) {
                run(QStringLiteral("rsize"), QStringLiteral("insert into 库存尺码表 (商品编码,库房名称,商品尺码,颜色,数量,商品名称,货号,商品条码) "
                                                           "values (?,?,?,?,?,?,?,?) on conflict (商品编码,库房名称,商品尺码,颜色) "
                                                           "do update set 数量=coalesce(库存尺码表.数量,0)+excluded.数量"),
                    {l.article, warehouse, z.size, z.colour, pieces, l.name, l.articleNo, z.barcode});
                run(QStringLiteral("rsizeline"), QStringLiteral("insert into 入库尺码明细表 (单据编号,商品编码,尺码,颜色,数量,临时码,货号,商品名称,商品条码) "
                                                               "values (?,?,?,?,?,?,?,?,?)"),
                    {number, l.article, z.size, z.colour, pieces, QString::number(i + 1), l.articleNo, l.name, z.barcode});
            }
        }
        b_.exec(QStringLiteral("COMMIT"));
        return number;
    }

    QString sale(const QString &warehouse, const std::vector<SaleLine> &lines)
    {
        const QDateTime now = QDateTime::currentDateTime();
        const QString day = now.date().toString(QStringLiteral("yyyyMMdd"));
        const QString moment = sqlvalue::momentText(now);
        const QString kind = QStringLiteral("零售"), staff = QStringLiteral("admin");
        begin(0x51560000LL + int(DocumentKind::RetailSale));
        const auto [aux, number] = draw(QStringLiteral("slast"),
            QStringLiteral("select 销售辅助单号 from 销售总表 where 销售辅助单号>=? and 销售辅助单号<? and 销售类型=? "
                           "order by length(销售辅助单号) desc, 销售辅助单号 desc limit 5"),
            QStringLiteral("sused"), QStringLiteral("select count(*) from 销售总表 where 销售单号=?"), day, kind, QStringLiteral("LS"), 4);
        Money amount;
        for (const SaleLine &l : lines) amount += l.price;
        const QString zero = Money().toSqlText();
        run(QStringLiteral("shead"), QStringLiteral("insert into 销售总表 (销售辅助单号,销售单号,操作员,日期时间,账户支付,现金收入,代金卷,信用卡收取,收款方式,折后金额,"
                                                   "签单人,交班完毕,会员卡号,获取积分,销售类型,导购员) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {aux, number, staff, moment, zero, amount.toSqlText(), zero, zero, QStringLiteral("现金"), amount.toSqlText(), QString(),
             QStringLiteral("否"), QString(), zero, kind, QString()});
        const QString one = Money::fromInt(1).toSqlText(), minusOne = Money::fromInt(-1).toSqlText();
        for (const SaleLine &l : lines) {
            run(QStringLiteral("ssize"), QStringLiteral("insert into 库存尺码表 (商品编码,库房名称,商品尺码,颜色,数量,商品名称,货号,商品条码) "
                                                       "values (?,?,?,?,?,?,?,?) on conflict (商品编码,库房名称,商品尺码,颜色) "
                                                       "do update set 数量=coalesce(库存尺码表.数量,0)+excluded.数量,商品名称=?,货号=?,"
                                                       "商品条码=coalesce(nullif(?,''),库存尺码表.商品条码)"),
                {l.article, warehouse, l.size, l.colour, minusOne, l.name, l.articleNo, l.barcode, l.name, l.articleNo, l.barcode});
            run(QStringLiteral("swarehouse"), QStringLiteral("insert into 库存总表 (商品编码,库房名称,数量) values (?,?,?) "
                                                            "on conflict (商品编码,库房名称) do update set 数量=coalesce(库存总表.数量,0)+excluded.数量"),
                {l.article, warehouse, minusOne});
            run(QStringLiteral("sarticle"), QStringLiteral("update 商品列表 set 数量=coalesce(数量,0)+? where id=?"), {minusOne, l.article});
            run(QStringLiteral("sline"), QStringLiteral("insert into 销售明细表 (品名,条形码,计量单位,销售价,销售单号,数量,可退数量,金额合计,操作员,日期时间,打折,利润,"
                                                       "销售类型,商品类别,尺码,颜色) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                {l.name, l.barcode, QStringLiteral("件"), l.price.toSqlText(), number, one, one, l.price.toSqlText(), staff, moment, 100,
                 l.price.toSqlText(), kind, l.category, l.size, l.colour});
        }
        b_.exec(QStringLiteral("COMMIT"));
        return number;
    }

private:
    Bare &b_;
    std::map<QString, std::unique_ptr<QSqlQuery>> st_;

    QSqlQuery &statement(const QString &key, const QString &sql)
    {
        auto &slot = st_[key];
        if (!slot) {
            slot = std::make_unique<QSqlQuery>(b_.db());
            if (!slot->prepare(sql)) throw DbError(slot->lastError().text() + u' ' + sql);
        }
        return *slot;
    }
    QSqlQuery &run(const QString &key, const QString &sql, const QVariantList &values)
    {
        QSqlQuery &q = statement(key, sql);
        for (int i = 0; i < values.size(); ++i) q.bindValue(i, values[i]);
        if (!q.exec()) throw DbError(q.lastError().text() + u' ' + sql);
        return q;
    }
    void begin(qint64 lockKey)
    {
        if (b_.isSqlite()) {
            b_.exec(QStringLiteral("BEGIN IMMEDIATE"));
        } else {
            b_.exec(QStringLiteral("BEGIN"));
            run(QStringLiteral("lock"), QStringLiteral("select pg_advisory_xact_lock(?)"), {lockKey});
        }
    }
    // The day's next number, as the number rule finds it.
    std::pair<QString, QString> draw(const QString &lastKey, const QString &lastSql, const QString &usedKey, const QString &usedSql,
                                     const QString &day, const QString &kind, const QString &prefix, int digits)
    {
        const QString next = QDate::fromString(day, QStringLiteral("yyyyMMdd")).addDays(1).toString(QStringLiteral("yyyyMMdd"));
        QSqlQuery &last = run(lastKey, lastSql, {day, next, kind});
        qint64 counter = 0;
        while (last.next()) {
            const QString cc = last.value(0).toString();
            bool ok = false;
            const qint64 n = cc.mid(8).toLongLong(&ok);
            if (ok && cc.left(8) == day) { counter = n; break; }
        }
        last.finish();   // an unfinished read would keep SQLite's snapshot open
        QString aux, number;
        for (;;) {
            ++counter;
            aux = day + QStringLiteral("%1").arg(counter, digits, 10, QLatin1Char('0'));
            number = prefix + aux;
            QSqlQuery &used = run(usedKey, usedSql, {number});
            const bool free = !used.next() || used.value(0).toLongLong() == 0;
            used.finish();
            if (free) break;
        }
        return {aux, number};
    }
};

void benchPostings(const Context &cx, Bare &b, const Sample &s)
{
    Database &db = DM->ADOConnection1;
    const std::vector<ReceiptLine> receipt = receiptLines(b, s.warehouse);
    const std::vector<SaleLine> sale = saleLines(b, s.warehouse);
    int sizeLines = 0;
    for (const ReceiptLine &l : receipt) sizeLines += int(l.sizes.size());
    BarePosting bare(b);
    QStringList receipts, sales;
    {
        const auto [program, alone] = timedPair(cx.runs, [&] { receipts << postReceiptProgram(db, s.warehouse, receipt); },
                                                [&] { receipts << bare.receipt(s.warehouse, receipt); });
        report({QStringLiteral("Posting a purchase receipt, %1 article lines").arg(receipt.size()), program, alone, QStringLiteral("ms"),
                QStringLiteral("%1 size lines, warehouse %2: number, header, ledger moves and detail rows, one transaction; "
                               "bare: the same statements hand-written, prepared once").arg(sizeLines).arg(s.warehouse)});
    }
    {
        const auto [program, alone] = timedPair(cx.runs, [&] { sales << postSaleProgram(db, s.warehouse, sale); },
                                                [&] { sales << bare.sale(s.warehouse, sale); });
        report({QStringLiteral("Posting a retail sale, %1 lines").arg(sale.size()), program, alone, QStringLiteral("ms"),
                QStringLiteral("number, 销售总表 header, per line AdjustSizeStock, AdjustWarehouseStock, AdjustArticleTotal "
                               "and the 销售明细表 row, one transaction; bare: the same statements hand-written, prepared once")});
    }
    // Take back what the benchmark posted, so the shop stays as generated.
    const int receiptsPosted = int(receipts.size()), salesPosted = int(sales.size());
    b.exec(b.isSqlite() ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    auto inList = [](const QStringList &numbers) { return u'\'' + numbers.join(QStringLiteral("','")) + u'\''; };
    if (!receipts.isEmpty()) {
        for (const char *t : {"入库尺码明细表", "出库入库明细表", "出库入库总表"})
            b.exec(QStringLiteral("delete from %1 where 单据编号 in (%2)").arg(QString::fromUtf8(t), inList(receipts)));
        for (const ReceiptLine &l : receipt) {
            const qint64 n = qint64(l.sizes.size()) * kPieces * receiptsPosted;
            b.exec(QStringLiteral("update 商品列表 set 数量=数量-%1 where id=%2").arg(n).arg(l.article));
            b.exec(QStringLiteral("update 库存总表 set 数量=数量-%1 where 商品编码=%2 and 库房名称='%3'").arg(n).arg(l.article).arg(s.warehouse));
            b.exec(QStringLiteral("update 库存尺码表 set 数量=数量-%1 where 商品编码=%2 and 库房名称='%3'")
                       .arg(kPieces * receiptsPosted).arg(l.article).arg(s.warehouse));
        }
    }
    if (!sales.isEmpty()) {
        for (const char *t : {"销售明细表", "销售总表"})
            b.exec(QStringLiteral("delete from %1 where 销售单号 in (%2)").arg(QString::fromUtf8(t), inList(sales)));
        for (const SaleLine &l : sale) {
            b.exec(QStringLiteral("update 商品列表 set 数量=数量+%1 where id=%2").arg(salesPosted).arg(l.article));
            b.exec(QStringLiteral("update 库存总表 set 数量=数量+%1 where 商品编码=%2 and 库房名称='%3'").arg(salesPosted).arg(l.article).arg(s.warehouse));
            QSqlQuery q(b.db());
            q.prepare(QStringLiteral("update 库存尺码表 set 数量=数量+? where 商品编码=? and 库房名称=? and 商品尺码=? and 颜色=?"));
            q.addBindValue(salesPosted);
            q.addBindValue(l.article);
            q.addBindValue(s.warehouse);
            q.addBindValue(l.size);
            q.addBindValue(l.colour);
            if (!q.exec()) throw DbError(q.lastError().text());
        }
    }
    b.exec(QStringLiteral("COMMIT"));
}

// ---------------------------------------------------------------- goods list

// Shows a window, lets its show handler run and closes it again; measures the time
// until the grid holds its first rows.
class OpenAndClose : public ModalRunner {
public:
    QString grid;
    int rows = 0;
    std::vector<double> resizeMs;
    int run(QDialog &d) override
    {
        d.show();
        QCoreApplication::processEvents();
        if (auto *view = d.findChild<QTableView *>(grid); view && view->model()) {
            rows = view->model()->rowCount();
            // What fitting the columns to the fetched rows costs on its own.
            QElapsedTimer t;
            t.start();
            view->resizeColumnsToContents();
            resizeMs.push_back(msSince(t));
        }
        d.hide();
        return QDialog::Rejected;
    }
};

void benchGoodsList(const Context &cx, Bare &b)
{
    if (!hasWindow(QStringLiteral("TFshangpin_list"))) {
        report({QStringLiteral("Goods list TFshangpin_list opening"), -1,
                timed(cx.runs, [&] { b.fetch(QStringLiteral("select * from 商品列表"), {}, 256); }), QStringLiteral("ms"),
                QStringLiteral("window not part of this build")});
        return;
    }
    OpenAndClose runner;
    runner.grid = QStringLiteral("DBGridEh1");
    setModalRunner(&runner);
    const double first = [&] { QElapsedTimer t; t.start(); openWindow(QStringLiteral("TFshangpin_list")); return msSince(t); }();
    const int rows = runner.rows;
    const auto [program, bare] = timedPair(cx.runs, [&] { openWindow(QStringLiteral("TFshangpin_list")); },
                                           [&] { b.fetch(QStringLiteral("select * from 商品列表"), {}, rows); });
    setModalRunner(nullptr);
    report({QStringLiteral("Goods list TFshangpin_list opening"), program, bare, QStringLiteral("ms"),
            QStringLiteral("until the grid holds its first %1 rows and is painted; first open with window creation %2 ms; "
                           "resizeColumnsToContents alone %3 ms").arg(rows).arg(first, 0, 'f', 1).arg(median(runner.resizeMs), 0, 'f', 1)});
    // The list's model alone, without the window.
    const double model = timed(cx.runs, [&] {
        RecordList list(DM->ADOConnection1, QStringLiteral("商品列表"));
        list.load();
    });
    report({QStringLiteral("Goods list model alone (RecordList load)"), model, bare, QStringLiteral("ms"),
            QStringLiteral("the same first %1 rows without the window").arg(rows)});
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption shop(QStringLiteral("shop"), QStringLiteral("demo shop folder"), QStringLiteral("folder"));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("runs per figure"), QStringLiteral("N"), QStringLiteral("7"));
    const QCommandLineOption program(QStringLiteral("program"), QStringLiteral("the quenvar executable"), QStringLiteral("path"),
                                     QCoreApplication::applicationDirPath() + QStringLiteral("/quenvar"));
    const QCommandLineOption sqlite(QStringLiteral("sqlite3"), QStringLiteral("the sqlite3 tool"), QStringLiteral("path"),
                                    QStringLiteral("/usr/bin/sqlite3"));
    const QCommandLineOption child(QStringLiteral("child"), QStringLiteral("internal: run one measured part"), QStringLiteral("part"));
    const QCommandLineOption grab(QStringLiteral("grab"), QStringLiteral("with --child main-window: save a picture of it"), QStringLiteral("png"));
    const QCommandLineOption psql(QStringLiteral("psql"), QStringLiteral("the psql tool"), QStringLiteral("path"),
                                  QStringLiteral("/usr/bin/psql"));
    const QCommandLineOption only(QStringLiteral("only"), QStringLiteral("startup,memory,overview,goods,postings,barcodes"),
                                  QStringLiteral("list"));
    const QCommandLineOption save(QStringLiteral("save"), QStringLiteral("also write the figures to this file (for --side-by-side)"),
                                  QStringLiteral("file"));
    const QCommandLineOption sideBySide(QStringLiteral("side-by-side"),
                                        QStringLiteral("print one table from two saved files: SQLITE.tsv,POSTGRESQL.tsv"), QStringLiteral("files"));
    parser.addOptions({shop, runs, program, sqlite, psql, only, save, sideBySide, child, grab});
    parser.process(app);
    if (parser.isSet(sideBySide)) {
        const QStringList files = parser.value(sideBySide).split(u',');
        return files.size() == 2 ? printSideBySide(files[0], files[1]) : 2;
    }
    if (!parser.isSet(shop)) {
        std::fprintf(stderr, "bench_quenvar --shop FOLDER [--runs N] | --side-by-side SQLITE.tsv,POSTGRESQL.tsv\n");
        return 2;
    }
    if (parser.value(child) == u"main-window")
        return childMainWindow(QDir(parser.value(shop)).absolutePath(), QFileInfo(parser.value(program)).absolutePath(),
                               parser.value(grab));
    Context cx;
    cx.shop = QDir(parser.value(shop)).absolutePath();
    cx.program = parser.value(program);
    cx.sqlite3 = parser.value(sqlite);
    cx.psql = parser.value(psql);
    cx.runs = std::max(1, parser.value(runs).toInt());
    if (parser.isSet(only)) cx.only = parser.value(only).split(u',');

    // The shop is opened as the program opens it: kf.ini in the folder chooses the
    // mode, and in network mode names the server.
    paths().programDir = QFileInfo(cx.program).absolutePath();
    paths().shopDir = cx.shop;
    cx.db.network = TDM::runMode() == TDM::Mode::Network;
    cx.db.file = QDir(cx.shop).filePath(QStringLiteral("data.mdb"));
    if (cx.db.network) cx.db.server = ServerSetup(paths().shopFile(QStringLiteral("kf.ini"))).load().params();
    std::fprintf(stderr, "shop %s: %s\n", cx.shop.toUtf8().constData(),
                 cx.db.network ? ("PostgreSQL " + cx.db.server.server + u'/' + cx.db.server.database).toUtf8().constData() : "SQLite data.mdb");

    try {
        if (cx.want(QStringLiteral("startup"))) benchStartup(cx);
        if (cx.want(QStringLiteral("memory"))) benchMainWindowMemory(cx);

        registerAllWindows();
        std::unique_ptr<TDM> dm = TDM::open();
        DM = dm.get();
        {
            Bare bare(cx.db);
            const Sample sample = pickSample(bare);
            // Postings first: on SQLite a list that is still fetching lazily keeps a
            // read snapshot open on the program's connection, and once the bare
            // connection has committed, the program's next BEGIN IMMEDIATE fails
            // ("database is locked"); the goods list window stays open after its figure.
            if (cx.want(QStringLiteral("postings"))) benchPostings(cx, bare, sample);
            if (cx.want(QStringLiteral("overview"))) benchOverview(cx, bare, sample);
            if (cx.want(QStringLiteral("goods"))) benchGoodsList(cx, bare);
            if (cx.want(QStringLiteral("barcodes"))) benchBarcodes(cx, bare);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bench_bare"));
        resetWindows();
        DM = nullptr;
    } catch (const StartupError &e) {
        std::fprintf(stderr, "start-up failed: %s\n", e.text().toUtf8().constData());
        return 1;
    } catch (const DbError &e) {
        std::fprintf(stderr, "database error: %s\n", e.text().toUtf8().constData());
        return 1;
    }
    printTable();
    if (parser.isSet(save) && !saveFigures(parser.value(save)))
        std::fprintf(stderr, "cannot write %s\n", parser.value(save).toUtf8().constData());
    return 0;
}
