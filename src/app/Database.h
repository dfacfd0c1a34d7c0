#pragma once

#include "app/Money.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

enum class Engine { SQLite, PostgreSQL };

// A database failure. what() is UTF-8; text() is the message to show, never empty
// (a failure without any text of its own gets a Chinese one).
class DbError : public std::runtime_error {
public:
    enum class Kind {
        Statement,        // the statement failed; the connection is fine
        ConnectionLost    // the connection to the server broke (or is still broken)
    };
    explicit DbError(const QString &text, Kind kind = Kind::Statement, QString sqlState = QString());
    const QString &text() const { return text_; }
    Kind kind() const { return kind_; }
    bool connectionLost() const { return kind_ == Kind::ConnectionLost; }
    // PostgreSQL's SQLSTATE of the failure ("" on SQLite and for the program's own errors).
    const QString &sqlState() const { return sqlState_; }
    // The login may not do this (PostgreSQL 42501: no privilege, not the owner).
    bool insufficientPrivilege() const { return sqlState_ == QLatin1String("42501"); }

    // What the user reads when a failure comes without any text.
    static QString fallbackText();
    // What the user reads when the server connection broke; the server's text follows.
    static QString connectionLostText();
private:
    QString text_;
    Kind kind_;
    QString sqlState_;
};

// Where a PostgreSQL server is: the values of kf.ini (server may be "host:port").
struct PgParams {
    QString server;
    QString user;
    QString password;
    QString database;
    QString host() const;
    int port() const;          // 5432 unless the server names one
};

// One connection (main, patch or scratch database). Owns its QSqlDatabase.
class Database {
public:
    // Opens (and creates when missing) an SQLite file in WAL mode with a busy timeout
    // and full synchronisation. Throws DbError.
    static std::unique_ptr<Database> openSqlite(const QString &path);
    // Read-only SQLite (the patch database).
    static std::unique_ptr<Database> openSqliteReadOnly(const QString &path);
    static std::unique_ptr<Database> openPostgres(const PgParams &params);
    // Why a server refused or missed a connection, in Chinese, from the text that
    // openPostgres threw (the server's own text, usually English).
    static QString connectionFailureReason(const QString &serverText);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    Engine engine() const { return engine_; }
    bool isSqlite() const { return engine_ == Engine::SQLite; }
    QSqlDatabase handle() const;
    const QString &connectionName() const { return name_; }
    const QString &location() const { return location_; }

    // Runs one statement without parameters or result (DDL, pragmas). Throws DbError.
    void execute(const QString &sql);

    // A lost server connection. Every failure of a statement is looked at: when the
    // server connection broke, the error says so (DbError::Kind::ConnectionLost) and
    // the connection is marked broken. Before the next statement outside a
    // transaction it is opened afresh (ensureConnected), so work goes on as soon as
    // the server answers again; inside a transaction every statement fails, the
    // transaction is gone and its commit throws. Queries prepared on the old
    // connection prepare themselves again on the new one (generation()).
    void ensureConnected();
    bool connectionBroken() const { return broken_; }
    int generation() const { return generation_; }
    // Throws the DbError for a failure reported by Qt's SQL layer on this connection.
    [[noreturn]] void raise(const QSqlError &error);
    bool tableExists(const QString &table);

    // Transactions (use Transaction below rather than these directly). Guards nest:
    // only the outermost one begins, commits or rolls back. An inner guard that is
    // abandoned marks the whole transaction rollback-only, and the outermost commit
    // then rolls back and throws instead of reporting success.
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return depth_ > 0; }
    bool rollbackOnly() const { return rollbackOnly_; }

    // Postings (document numbers and stock movements) are serialised across
    // workstations for the rest of the current transaction: on SQLite the guard's
    // BEGIN IMMEDIATE already holds the write lock; on PostgreSQL one
    // transaction-scoped advisory lock is taken (once per transaction). One lock for
    // all postings means two postings that touch the same stock rows in different
    // orders (a sale and a receipt of one article) queue instead of deadlocking.
    // Throws DbError outside a transaction.
    void lockPostings();

    // A statement prepared once and kept for the life of this connection, for what
    // every posting runs (the number rule, the stock ledger): on a server each fresh
    // statement costs extra round trips to prepare and release it. Bind all its
    // parameters before each exec, and read a result to the end or finish() it.
    class Query &cachedQuery(const QString &sqlText);

    // Runs f once the current transaction has committed (at once when none is open);
    // dropped when it rolls back. Postings announce what they changed through this,
    // so nobody hears of a change that did not happen.
    void afterCommit(std::function<void()> f);

private:
    Database(Engine e, QString name, QString location) : engine_(e), name_(std::move(name)), location_(std::move(location)) {}
    Engine engine_;
    QString name_;
    QString location_;
    QStringList retired_;   // connections replaced after a loss; removed with the Database
    bool broken_ = false;
    int generation_ = 0;
    bool serverAnswers();
    int depth_ = 0;
    bool rollbackOnly_ = false;
    bool postingLock_ = false;
    QHash<QString, std::shared_ptr<class Query>> cache_;
    std::vector<std::function<void()>> afterCommit_;
    void endTransaction(bool committed);
};

// RAII transaction guard: commit explicitly; rolls back on scope exit otherwise.
// Nested guards form one transaction (see Database::begin).
class Transaction {
public:
    explicit Transaction(Database &db);
    ~Transaction();
    void commit();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
private:
    Database &db_;
    bool done_ = false;
};

// A statement in the program's convention: text with named parameters (":名称",
// Chinese or not), values set by name with their own types, results read by
// column name. The names are rewritten to positional placeholders, so the same
// statement text works on both engines.
class Query {
public:
    explicit Query(Database &db);

    void prepare(const QString &sqlText);
    Query &bind(const QString &name, const QVariant &value);
    // Runs the prepared statement. Throws DbError with the database's text.
    Query &exec();
    // Runs an insert written "insert ... returning <key>" (both engines support it)
    // and gives the new row's key as a whole number.
    qint64 execReturningKey();
    // Ends reading the current result (a read left open holds a snapshot on SQLite).
    void finish() { q_.finish(); }
    // Convenience: prepare + exec without parameters.
    Query &exec(const QString &sqlText) { prepare(sqlText); return exec(); }

    bool next() { return q_.next(); }
    bool first() { return q_.first(); }
    bool isActive() const { return q_.isActive(); }
    int numRowsAffected() const { return q_.numRowsAffected(); }
    QVariant lastInsertId() const { return q_.lastInsertId(); }

    QVariant value(const QString &column) const;
    QVariant value(int index) const { return q_.value(index); }
    QString text(const QString &column) const;      // null reads as ""
    // A whole number (keys, counts): null reads as 0; PostgreSQL's numeric text
    // "5.0000" reads as 5.
    qint64 integer(const QString &column) const;
    Money money(const QString &column) const;       // null reads as 0
    bool boolean(const QString &column) const;      // null reads as false
    QDateTime moment(const QString &column) const;
    QStringList columns() const;

    QSqlQuery &raw() { return q_; }
    Database &database() const { return db_; }

    // The rewritten text and parameter order, for tests of the convention.
    static QString rewrite(const QString &sqlText, QStringList *names);

private:
    Database &db_;
    QSqlQuery q_;
    int generation_ = 0;    // the connection q_ belongs to
    QString text_;
    QStringList names_;
    std::vector<QVariant> values_;
    QHash<QString, QList<int>> positions_;       // parameter name -> placeholders
    QSqlRecord record_;                          // columns of the last result
    mutable QHash<QString, int> columnIndex_;    // column name -> position in record_
    int columnPosition(const QString &column) const;
    bool prepared_ = false;
};

// The statement convention's name for loading a statement into a query.
inline void PrepareQuery(Query &q, const QString &sqlText) { q.prepare(sqlText); }

// Storage forms shared by both engines.
namespace sqlvalue {
QString dayText(const QDate &d);             // "2026-12-11"
QString momentText(const QDateTime &t);      // "2026-12-11 08:30:00"
QDateTime parseMoment(const QVariant &v);    // from either engine
// A key or count as a whole number, whatever the engine returns: null reads as 0,
// numeric text such as "5.0000" (a key column of an older server database) as 5.
qint64 wholeNumber(const QVariant &v);
// How a stored value is shown to the user: numbers in their shortest form,
// moments as "yyyy-MM-dd HH:mm:ss", days as "yyyy-MM-dd".
QString display(const QVariant &v, QMetaType fieldType = QMetaType());
} // namespace sqlvalue
