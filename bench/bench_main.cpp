// Benchmarks of the program on a (large) demo shop. Figures only: nothing here
// passes or fails on a time. Each figure is the median of several runs after one
// warm-up run, and stands beside the time the database alone needs for the same
// statements (plain QSqlQuery on its own connection, or the sqlite3 tool), so the
// program's own overhead shows as a ratio.
//
//   bench_quenvar --shop FOLDER [--runs N] [--program PATH] [--sqlite3 PATH] [--only a,b]
#include "app/ui/AllWindows.h"
#include "app/Database.h"
#include "app/Session.h"
#include "app/Udm.h"
#include "masterdata/BarcodeGenerator.h"
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
#include <QSqlRecord>
#include <QTableView>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <functional>
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

void printTable()
{
    std::printf("| Measurement | Program | Database alone | Ratio | Note |\n|---|---:|---:|---:|---|\n");
    for (const Figure &f : g_figures) {
        const QString ratio = f.program > 0 && f.bare > 0 ? QString::number(f.program / f.bare, 'f', 2) : QStringLiteral("-");
        const int prec = f.unit == u"ms" && f.program >= 0 && f.program < 10 ? 2 : 1;
        std::printf("| %s | %s %s | %s %s | %s | %s |\n", f.name.toUtf8().constData(), num(f.program, prec).toUtf8().constData(),
                    f.unit.toUtf8().constData(), num(f.bare, prec).toUtf8().constData(), f.unit.toUtf8().constData(),
                    ratio.toUtf8().constData(), f.note.toUtf8().constData());
    }
    std::fflush(stdout);
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

// A connection of its own on the shop's main database: plain Qt SQL, no
// statement layer, no models.
class Bare {
public:
    explicit Bare(const QString &file)
    {
        db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench_bare"));
        db_.setDatabaseName(file);
        if (!db_.open()) throw DbError(db_.lastError().text());
    }
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
};

struct Context {
    QString shop, program, sqlite3;
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
    if (q.next()) s.article = q.value(0).toLongLong();
    return s;
}

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
    // start-up and the login window read.
    const QString sql = QStringLiteral("attach '%1' as t; attach '%2' as b; select * from main.版本号; select * from t.版本号; "
                                       "select count(*) from b.命令表; select * from 登陆 where 用户='admin';")
                            .arg(QDir(cx.shop).filePath(QStringLiteral("temp.mdb")),
                                 QFileInfo(cx.program).dir().filePath(QStringLiteral("buding.mdb")));
    std::vector<double> bare;
    long bareRss = 0;
    for (int i = 0; i <= cx.runs; ++i) {
        const ChildRun r = spawn(cx.sqlite3, {QStringLiteral("-readonly"), QDir(cx.shop).filePath(QStringLiteral("data.mdb")), sql}, {}, 30000);
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
            QStringLiteral("bare: sqlite3 process reading the same start-up rows")});
    report({QStringLiteral("Start-up process, spawn to exit"), median(wall), median(bare), QStringLiteral("ms"), QString()});
    report({QStringLiteral("Peak memory at the login window"), rss / 1024.0, bareRss / 1024.0, QStringLiteral("MiB"),
            QStringLiteral("max RSS (wait4); bare: the sqlite3 process")});
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
    // The database alone: the same statements in the sqlite3 tool, first rows only.
    const QString sql = QStringLiteral(
        "select 商品编码,商品名称,sum(数量) as 数量,货号 from 库存总表 group by 商品编码,商品名称,货号 order by 商品编码 limit 256;"
        "select * from 库存尺码表 order by 商品编码,商品名称,库房名称 limit 256; select sum(数量) from 库存尺码表;");
    const ChildRun bare = spawn(cx.sqlite3, {QStringLiteral("-readonly"), QDir(cx.shop).filePath(QStringLiteral("data.mdb")), sql}, {}, 120000);
    report({QStringLiteral("Peak memory, main window with the overview"), r.ok ? r.maxRssKb / 1024.0 : -1,
            bare.ok ? bare.maxRssKb / 1024.0 : -1, QStringLiteral("MiB"),
            QStringLiteral("max RSS of a process that opens the shop and shows TFmain (%1); bare: sqlite3 with the same statements")
                .arg(QString::fromUtf8(r.out.trimmed()))});
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

void benchBarcodes(const Context &cx)
{
    // On a copy: the generation rewrites 商品条码表.
    const QString dir = QDir::temp().filePath(QStringLiteral("quenvar-bench-barcodes"));
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    const QString copy = QDir(dir).filePath(QStringLiteral("data.mdb"));
    const QString source = QDir(cx.shop).filePath(QStringLiteral("data.mdb"));
    if (QFileInfo::exists(source + QStringLiteral("-wal")))
        QFile::copy(source + QStringLiteral("-wal"), copy + QStringLiteral("-wal"));
    if (!QFile::copy(source, copy)) {
        report({QStringLiteral("Barcode generation, every article"), -1, -1, QStringLiteral("ms"), QStringLiteral("cannot copy the shop")});
        return;
    }
    std::vector<qint64> ids;
    qint64 rows = 0;
    std::vector<double> program, bare;
    {
        auto db = Database::openSqlite(copy);
        Query q(*db);
        q.exec(QStringLiteral("select id from 商品列表 order by id"));
        while (q.next()) ids.push_back(q.integer(QStringLiteral("id")));
        const int runs = std::max(1, cx.runs / 2);
        for (int i = 0; i <= runs; ++i) {
            QElapsedTimer t;
            t.start();
            const BarcodeGenerator::Result r = BarcodeGenerator(*db).generate(ids);
            if (i) program.push_back(msSince(t));
            rows = r.barcodes;
        }
    }
    {
        // The same rows by one insert ... select inside one transaction.
        Bare b(copy);
        const int runs = std::max(1, cx.runs / 2);
        for (int i = 0; i <= runs; ++i) {
            QElapsedTimer t;
            t.start();
            b.exec(QStringLiteral("BEGIN IMMEDIATE"));
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
            b.exec(QStringLiteral("COMMIT"));
            if (i) bare.push_back(msSince(t));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench_bare"));
    QDir(dir).removeRecursively();
    report({QStringLiteral("Barcode generation, every article"), median(program), median(bare), QStringLiteral("ms"),
            QStringLiteral("%1 articles, %2 rows; bare: one insert ... select").arg(ids.size()).arg(rows)});
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
    const QCommandLineOption only(QStringLiteral("only"), QStringLiteral("startup,memory,overview,goods,barcodes"), QStringLiteral("list"));
    parser.addOptions({shop, runs, program, sqlite, only, child, grab});
    parser.process(app);
    if (!parser.isSet(shop)) {
        std::fprintf(stderr, "bench_quenvar --shop FOLDER [--runs N]\n");
        return 2;
    }
    if (parser.value(child) == u"main-window")
        return childMainWindow(QDir(parser.value(shop)).absolutePath(), QFileInfo(parser.value(program)).absolutePath(),
                               parser.value(grab));
    Context cx;
    cx.shop = QDir(parser.value(shop)).absolutePath();
    cx.program = parser.value(program);
    cx.sqlite3 = parser.value(sqlite);
    cx.runs = std::max(1, parser.value(runs).toInt());
    if (parser.isSet(only)) cx.only = parser.value(only).split(u',');

    try {
        if (cx.want(QStringLiteral("startup"))) benchStartup(cx);
        if (cx.want(QStringLiteral("memory"))) benchMainWindowMemory(cx);

        paths().programDir = QFileInfo(cx.program).absolutePath();
        paths().shopDir = cx.shop;
        registerAllWindows();
        std::unique_ptr<TDM> dm = TDM::open();
        DM = dm.get();
        {
            Bare bare(QDir(cx.shop).filePath(QStringLiteral("data.mdb")));
            const Sample sample = pickSample(bare);
            if (cx.want(QStringLiteral("overview"))) benchOverview(cx, bare, sample);
            if (cx.want(QStringLiteral("goods"))) benchGoodsList(cx, bare);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("bench_bare"));
        if (cx.want(QStringLiteral("barcodes"))) benchBarcodes(cx);
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
    return 0;
}
