#pragma once

#include "app/Database.h"

#include <QString>
#include <optional>

// What the setup program edits: the run mode and the server values of kf.ini.
struct ServerSettings {
    QString mode = QStringLiteral("单机版");   // "单机版" or "网络版"
    QString server;     // host, "host:port" or "host,port"
    QString user;
    QString password;   // plain; kf.ini holds it in the six-bit form
    QString database;
    PgParams params() const;
};

// The login the workstations use for a shop's server database: it may read and
// write the shop's rows (and draw from their sequences) but not change or drop
// the tables.
struct WorkstationLogin {
    QString user;
    QString password;
};

// The work behind the setup program's window: reading and writing kf.ini, testing
// the server connection and creating a new shop database on an empty server
// database. Results are the Chinese texts the window shows.
class ServerSetup {
public:
    explicit ServerSetup(QString kfPath);

    // The values of kf.ini; a missing file or value reads as single-user mode with
    // empty server values.
    ServerSettings load() const;
    // Writes all five values (the password six-bit encoded; the six-bit form only
    // hides the text, so the file is readable by its owner only). False with *error
    // when a required value is missing or the file cannot be written.
    bool save(const ServerSettings &s, QString *error);

    struct Outcome {
        bool ok = false;
        QString message;
    };
    // Connects with the values and reports the outcome.
    static Outcome testConnection(const ServerSettings &s);
    // Creates the shop database (schema and the operator "admin") in the named
    // database, creating the database itself on the server when it does not exist.
    // Refuses a database that already holds tables. With a workstation login, also
    // creates that login on the server (or gives an existing plain login the new
    // password) with the rights to read and write the shop's rows only; the
    // administrator's login s.user owns the tables.
    static Outcome createDatabase(const ServerSettings &s,
                                  const std::optional<WorkstationLogin> &workstation = std::nullopt);
    // Brings the shop database up to the patch database beside the program, with a
    // login that may change the tables (the owner's); for workstations whose own
    // login may not.
    static Outcome upgradeDatabase(const ServerSettings &owner);

private:
    QString path_;
};
