#include "app/Database.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlError>
#include <QSqlRecord>

namespace {

QAtomicInt g_connectionCounter;

QString nextConnectionName(const char *kind)
{
    return QStringLiteral("qv_%1_%2").arg(QLatin1String(kind)).arg(g_connectionCounter.fetchAndAddRelaxed(1));
}

QString errorText(const QSqlError &e)
{
    QString t = e.databaseText().trimmed();
    if (t.isEmpty()) t = e.driverText().trimmed();
    if (t.isEmpty()) t = e.text().trimmed();
    return t;
}

bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// SQLSTATE classes of a broken connection: 08 (connection exception) and 57P
// (the server shut down or was restarted under the session).
bool connectionState(const QString &code)
{
    return code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P"));
}

} // namespace

DbError::DbError(const QString &text, Kind kind, QString sqlState)
    : std::runtime_error((text.trimmed().isEmpty() ? fallbackText() : text).toStdString()),
      text_(text.trimmed().isEmpty() ? fallbackText() : text), kind_(kind), sqlState_(std::move(sqlState))
{
}

QString DbError::fallbackText()
{
    return QStringLiteral("数据库操作失败，数据库没有给出错误说明。");
}

QString DbError::connectionLostText()
{
    return QStringLiteral("与数据库服务器的连接已断开，本次操作没有完成。\n"
                          "请检查网络和数据库服务器；服务器恢复后再操作即可，程序会自动重新连接。");
}

QString PgParams::host() const
{
    const int i = server.lastIndexOf(QRegularExpression(QStringLiteral("[:,]")));
    return i > 0 ? server.left(i).trimmed() : server.trimmed();
}

int PgParams::port() const
{
    const int i = server.lastIndexOf(QRegularExpression(QStringLiteral("[:,]")));
    if (i > 0) {
        bool ok = false;
        const int p = server.mid(i + 1).trimmed().toInt(&ok);
        if (ok && p > 0) return p;
    }
    return 5432;
}

std::unique_ptr<Database> Database::openSqlite(const QString &path)
{
    const QString name = nextConnectionName("sqlite");
    std::unique_ptr<Database> db(new Database(Engine::SQLite, name, path));
    QSqlDatabase h = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    h.setDatabaseName(path);
    h.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!h.open())
        throw DbError(errorText(h.lastError()));
    db->execute(QStringLiteral("PRAGMA journal_mode=WAL"));
    db->execute(QStringLiteral("PRAGMA synchronous=FULL"));
    return db;
}

std::unique_ptr<Database> Database::openSqliteReadOnly(const QString &path)
{
    const QString name = nextConnectionName("sqlite_ro");
    std::unique_ptr<Database> db(new Database(Engine::SQLite, name, path));
    if (!QFileInfo::exists(path))
        throw DbError(QStringLiteral("找不到数据库文件：%1").arg(path));
    QSqlDatabase h = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    h.setDatabaseName(path);
    h.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=10000"));
    if (!h.open())
        throw DbError(errorText(h.lastError()));
    return db;
}

std::unique_ptr<Database> Database::openPostgres(const PgParams &p)
{
    const QString name = nextConnectionName("pg");
    std::unique_ptr<Database> db(new Database(Engine::PostgreSQL, name,
        QStringLiteral("%1/%2").arg(p.server, p.database)));
    QSqlDatabase h = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    h.setHostName(p.host());
    h.setPort(p.port());
    h.setUserName(p.user);
    h.setPassword(p.password);
    h.setDatabaseName(p.database);
    h.setConnectOptions(QStringLiteral("connect_timeout=5"));
    // Numeric columns come back as exact text, never as binary doubles.
    h.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!h.open())
        throw DbError(errorText(h.lastError()), DbError::Kind::ConnectionLost, h.lastError().nativeErrorCode());
    db->execute(QStringLiteral("SET client_encoding TO 'UTF8'"));
    return db;
}

QString Database::connectionFailureReason(const QString &serverText)
{
    const QString t = serverText.toLower();
    auto has = [&t](const char *s) { return t.contains(QLatin1String(s)); };
    if (has("password authentication failed") || has("no password supplied") || has("authentication failed"))
        return QStringLiteral("服务器拒绝了登录：用户名或密码不正确。");
    if (has("role") && has("does not exist"))
        return QStringLiteral("服务器上没有这个用户名。");
    if (has("database") && has("does not exist"))
        return QStringLiteral("服务器上没有这个数据库。");
    if (has("pg_hba.conf"))
        return QStringLiteral("服务器不允许这台电脑用这个用户名登录。");
    if (has("permission denied"))
        return QStringLiteral("这个用户名没有连接这个数据库的权限。");
    if (has("too many connections") || has("remaining connection slots"))
        return QStringLiteral("服务器的连接数已满，请稍后再试。");
    if (has("starting up") || has("shutting down") || has("recovery mode"))
        return QStringLiteral("数据库服务器正在启动或关闭，请稍后再试。");
    if (has("could not translate host name") || has("name or service not known"))
        return QStringLiteral("找不到这个服务器名称，请检查服务器地址。");
    if (has("connection refused") || has("could not connect") || has("timeout expired") || has("timed out")
        || has("no route to host") || has("network is unreachable"))
        return QStringLiteral("无法连接到数据库服务器，请检查服务器地址、端口和网络，以及数据库服务器是否已经启动。");
    return QStringLiteral("数据库服务器拒绝了连接。");
}

Database::~Database()
{
    cache_.clear();   // its statements go before their connection
    for (const QString &name : retired_ + QStringList{name_}) {
        {
            QSqlDatabase h = QSqlDatabase::database(name, false);
            if (h.isOpen()) h.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
}

QSqlDatabase Database::handle() const
{
    return QSqlDatabase::database(name_, false);
}

void Database::execute(const QString &sql)
{
    ensureConnected();
    QSqlQuery q(handle());
    if (!q.exec(sql))
        raise(q.lastError());
}

bool Database::serverAnswers()
{
    QSqlQuery probe(handle());
    if (probe.exec(QStringLiteral("select 1"))) return true;
    // A failure with the server's own code (an aborted transaction, say) means the
    // server still answers; no code, or a connection code, means it does not.
    const QString code = probe.lastError().nativeErrorCode();
    return !code.isEmpty() && !connectionState(code);
}

void Database::raise(const QSqlError &e)
{
    const QString code = e.nativeErrorCode();
    const QString text = errorText(e);
    if (isSqlite())
        throw DbError(text);
    // A broken connection shows either as the connection's own error or as a
    // failure without the server's code; the probe tells it from a plain failure.
    if (broken_ || ((e.type() == QSqlError::ConnectionError || code.isEmpty() || connectionState(code)) && !serverAnswers())) {
        broken_ = true;
        throw DbError(text.isEmpty() ? DbError::connectionLostText()
                                     : DbError::connectionLostText() + QStringLiteral("\n\n") + text,
                      DbError::Kind::ConnectionLost, code);
    }
    throw DbError(text, DbError::Kind::Statement, code);
}

void Database::ensureConnected()
{
    if (!broken_) return;
    // The transaction died with the old connection: nothing may run in its name
    // until the guards have ended it (their rollback does).
    if (depth_ > 0)
        throw DbError(DbError::connectionLostText(), DbError::Kind::ConnectionLost);
    // A fresh connection under a new name: queries prepared on the old one keep
    // their results on it (and free them there), never on the new session.
    const QString fresh = nextConnectionName("pg");
    QSqlDatabase h = QSqlDatabase::cloneDatabase(name_, fresh);
    if (!h.open()) {
        const QSqlError e = h.lastError();
        h = QSqlDatabase();
        QSqlDatabase::removeDatabase(fresh);
        const QString text = errorText(e);
        throw DbError(text.isEmpty() ? DbError::connectionLostText()
                                     : DbError::connectionLostText() + QStringLiteral("\n\n") + text,
                      DbError::Kind::ConnectionLost, e.nativeErrorCode());
    }
    QSqlQuery(h).exec(QStringLiteral("SET client_encoding TO 'UTF8'"));
    // The dead connection stays as it is until this Database goes: results still
    // held on it are freed against it, and closing it under them gains nothing.
    retired_ << name_;
    name_ = fresh;
    broken_ = false;
    ++generation_;
}

bool Database::tableExists(const QString &table)
{
    Query q(*this);
    if (isSqlite()) {
        q.prepare(QStringLiteral("select count(*) as n from sqlite_master where type='table' and name=:t"));
    } else {
        q.prepare(QStringLiteral("select count(*) as n from information_schema.tables "
                                 "where table_schema=current_schema() and table_name=:t"));
    }
    q.bind(QStringLiteral("t"), table).exec();
    return q.next() && q.integer(QStringLiteral("n")) > 0;
}

void Database::begin()
{
    if (depth_ > 0) { ++depth_; return; }  // nested guards join the outer transaction
    // SQLite: take the write lock at once so two workstations queue instead of deadlocking.
    if (isSqlite()) {
        execute(QStringLiteral("BEGIN IMMEDIATE"));
    } else {
        ensureConnected();
        if (!handle().transaction())
            raise(handle().lastError());
    }
    depth_ = 1;
    rollbackOnly_ = false;
    postingLock_ = false;
    afterCommit_.clear();
}

void Database::lockPostings()
{
    if (depth_ <= 0)
        throw DbError(QStringLiteral("单据只能在事务中保存"));
    if (postingLock_ || isSqlite()) return;
    // One key for every posting of the database (0x51560000, "QV" in its high bytes); released by COMMIT or ROLLBACK.
    execute(QStringLiteral("select pg_advisory_xact_lock(1364590592)"));
    postingLock_ = true;
}

void Database::commit()
{
    if (depth_ <= 0) throw DbError(QStringLiteral("没有进行中的事务，无法提交"));
    if (depth_ > 1) { --depth_; return; }
    if (rollbackOnly_) {
        rollback();
        throw DbError(QStringLiteral("事务中的一步已失败，全部操作已撤销"));
    }
    // A transaction whose connection broke is gone on the server: it never commits.
    if (broken_) {
        rollback();
        throw DbError(DbError::connectionLostText(), DbError::Kind::ConnectionLost);
    }
    // The depth stays until COMMIT has succeeded: a failed COMMIT is rolled back here,
    // so the connection is never left inside a transaction.
    try {
        if (isSqlite())
            execute(QStringLiteral("COMMIT"));
        else if (!handle().commit())
            raise(handle().lastError());
    } catch (...) {
        rollback();
        throw;
    }
    endTransaction(true);
}

void Database::rollback()
{
    if (depth_ <= 0) return;
    if (depth_ > 1) {
        // An inner guard gave up: the outer one may not commit what is left.
        --depth_;
        rollbackOnly_ = true;
        return;
    }
    if (isSqlite()) {
        QSqlQuery q(handle());
        q.exec(QStringLiteral("ROLLBACK"));
    } else {
        handle().rollback();
    }
    endTransaction(false);
}

void Database::endTransaction(bool committed)
{
    depth_ = 0;
    rollbackOnly_ = false;
    postingLock_ = false;
    std::vector<std::function<void()>> pending;
    pending.swap(afterCommit_);
    if (committed)
        for (auto &f : pending) f();
}

Query &Database::cachedQuery(const QString &sqlText)
{
    auto &slot = cache_[sqlText];
    if (!slot) {
        slot = std::make_shared<Query>(*this);
        slot->prepare(sqlText);
    }
    return *slot;
}

void Database::afterCommit(std::function<void()> f)
{
    if (depth_ > 0) afterCommit_.push_back(std::move(f));
    else f();
}

Transaction::Transaction(Database &db) : db_(db) { db_.begin(); }

Transaction::~Transaction()
{
    if (!done_) db_.rollback();
}

void Transaction::commit()
{
    if (done_) throw DbError(QStringLiteral("事务已结束，不能再次提交"));
    done_ = true;
    db_.commit();   // a failing commit has already rolled back
}

Query::Query(Database &db) : db_(db), q_(db.handle()), generation_(db.generation()) {}

QString Query::rewrite(const QString &sql, QStringList *names)
{
    QString out;
    out.reserve(sql.size());
    const int n = sql.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            // Copy quoted text unchanged (a doubled quote stays inside).
            const int start = i;
            ++i;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) { i += 2; continue; }
                    break;
                }
                ++i;
            }
            out += QStringView(sql).mid(start, qMin(i, n - 1) - start + 1);
            continue;
        }
        if (c == u':' ) {
            if (i + 1 < n && sql[i + 1] == u':') { out += QStringLiteral("::"); ++i; continue; }
            if (i + 1 < n && isNameChar(sql[i + 1]) && (i == 0 || sql[i - 1] != u':')) {
                int j = i + 1;
                while (j < n && isNameChar(sql[j])) ++j;
                if (names) names->append(sql.mid(i + 1, j - i - 1));
                out += u'?';
                i = j - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

void Query::prepare(const QString &sqlText)
{
    q_.finish();
    q_.clear();
    q_ = QSqlQuery(db_.handle());
    generation_ = db_.generation();
    prepared_ = false;
    names_.clear();
    text_ = rewrite(sqlText, &names_);
    values_.assign(names_.size(), QVariant());
    positions_.clear();
    for (int i = 0; i < names_.size(); ++i) positions_[names_[i]].push_back(i);
    record_ = QSqlRecord();
    columnIndex_.clear();
}

Query &Query::bind(const QString &name, const QVariant &value)
{
    QVariant v = value;
    const int type = value.metaType().id();
    if (value.metaType() == QMetaType::fromType<Money>()) {
        v = value.value<Money>().toSqlText();
    } else if (type == QMetaType::QDate) {
        v = value.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(sqlvalue::dayText(value.toDate()));
    } else if (type == QMetaType::QDateTime) {
        v = value.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(sqlvalue::momentText(value.toDateTime()));
    } else if (type == QMetaType::Bool && db_.isSqlite()) {
        v = value.toBool() ? 1 : 0;
    }
    const auto it = positions_.constFind(name);
    if (it == positions_.constEnd())
        throw DbError(QStringLiteral("语句中没有参数：%1").arg(name));
    for (int i : *it) values_[i] = v;
    return *this;
}

Query &Query::exec()
{
    db_.ensureConnected();
    // A connection opened afresh after a loss: prepare there again.
    if (generation_ != db_.generation()) {
        q_ = QSqlQuery(db_.handle());
        generation_ = db_.generation();
        prepared_ = false;
    }
    // Prepared once, executed as often as the caller binds new values.
    if (!prepared_) {
        if (!q_.prepare(text_))
            db_.raise(q_.lastError());
        prepared_ = true;
    }
    for (int i = 0; i < int(values_.size()); ++i)
        q_.bindValue(i, values_[i]);
    if (!q_.exec())
        db_.raise(q_.lastError());
    record_ = q_.record();
    columnIndex_.clear();
    return *this;
}

int Query::columnPosition(const QString &column) const
{
    // Looked up once per column and result, not at every row.
    auto it = columnIndex_.constFind(column);
    if (it == columnIndex_.constEnd()) it = columnIndex_.insert(column, record_.indexOf(column));
    if (*it < 0)
        throw DbError(QStringLiteral("结果中没有列：%1").arg(column));
    return *it;
}

QVariant Query::value(const QString &column) const { return q_.value(columnPosition(column)); }

QString Query::text(const QString &column) const
{
    const int i = columnPosition(column);
    return sqlvalue::display(q_.value(i), record_.field(i).metaType());
}

qint64 Query::integer(const QString &column) const { return sqlvalue::wholeNumber(value(column)); }

qint64 Query::execReturningKey()
{
    exec();
    if (!q_.next())
        throw DbError(QStringLiteral("插入后没有返回新记录的编号"));
    const qint64 key = sqlvalue::wholeNumber(q_.value(0));
    // Done with the row: an SQLite statement left in progress would make the
    // transaction's COMMIT fail while this query lives on.
    q_.finish();
    return key;
}

Money Query::money(const QString &column) const { return Money::fromVariant(value(column)); }

bool Query::boolean(const QString &column) const
{
    const QVariant v = value(column);
    if (v.isNull()) return false;
    if (v.metaType().id() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        return s == u"1" || s == u"t" || s == u"true" || s == u"-1";
    }
    return v.toBool();
}

QDateTime Query::moment(const QString &column) const { return sqlvalue::parseMoment(value(column)); }

QStringList Query::columns() const
{
    QStringList r;
    const QSqlRecord rec = q_.record();
    for (int i = 0; i < rec.count(); ++i) r << rec.fieldName(i);
    return r;
}

namespace sqlvalue {

QString dayText(const QDate &d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }

qint64 wholeNumber(const QVariant &v)
{
    if (v.isNull()) return 0;
    bool ok = false;
    const qint64 r = v.toLongLong(&ok);
    return ok ? r : Money::fromVariant(v).units() / Money::kScale;
}

QString momentText(const QDateTime &t) { return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

QDateTime parseMoment(const QVariant &v)
{
    if (v.isNull()) return {};
    if (v.metaType().id() == QMetaType::QDateTime) return v.toDateTime();
    if (v.metaType().id() == QMetaType::QDate) return v.toDate().startOfDay();
    const QString s = v.toString().trimmed();
    QDateTime t = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!t.isValid()) t = QDateTime::fromString(s, Qt::ISODate);
    if (!t.isValid()) {
        const QDate d = QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
        if (d.isValid()) t = d.startOfDay();
    }
    return t;
}

QString display(const QVariant &v, QMetaType fieldType)
{
    if (v.isNull() || !v.isValid()) return QString();
    // PostgreSQL numerics arrive as exact text: show them in their shortest form.
    if (fieldType.id() == QMetaType::Double && v.metaType().id() == QMetaType::QString) {
        if (auto m = Money::parse(v.toString())) return m->toString();
    }
    switch (v.metaType().id()) {
    case QMetaType::QDateTime: {
        const QDateTime t = v.toDateTime();
        return t.time() == QTime(0, 0) ? dayText(t.date()) : momentText(t);
    }
    case QMetaType::QDate:
        return dayText(v.toDate());
    case QMetaType::Double: case QMetaType::Float:
        return Money::fromDouble(v.toDouble()).toString();
    default:
        if (v.metaType() == QMetaType::fromType<Money>()) return v.value<Money>().toString();
        return v.toString();
    }
}

} // namespace sqlvalue
