#pragma once

#include "app/Database.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

// Why start-up cannot go on. The text is shown to the user as it stands.
class StartupError : public std::runtime_error {
public:
    enum class Kind {
        ServerUnreachable,   // network mode: show the message, start datashezhi, end
        BadShopFile,         // data.mdb is not a database of this program: never touched
        Other
    };
    StartupError(Kind kind, const QString &text)
        : std::runtime_error(text.toStdString()), kind_(kind), text_(text) {}
    Kind kind() const { return kind_; }
    const QString &text() const { return text_; }
private:
    Kind kind_;
    QString text_;
};

// The data module: the three connections every window works through.
//  - ADOConnection1: the main database (data.mdb on SQLite, or PostgreSQL in network mode)
//  - ADOtemp: this workstation's scratch database temp.mdb (always SQLite)
//  - ADObuding: the patch database buding.mdb beside the program, opened on first use
class TDM {
public:
    enum class Mode { SingleUser, Network };
    // The run mode kf.ini in the shop folder asks for: "网络版" exactly is network
    // mode; anything else (a missing file or key, an empty value) is single-user.
    static Mode runMode();

    // Opens the shop in paths().shopDir following kf.ini's run mode, then brings
    // both databases up to the patch database's version. A missing data.mdb or
    // temp.mdb (or an empty server database) is created with the full schema and
    // the operator "admin" with an empty password. A data.mdb that is not this
    // program's database is never touched (BadShopFile); a damaged temp.mdb is
    // kept under another name and rebuilt (a notice says so). Throws StartupError.
    //
    // When the server database needs an upgrade that the workstation's login may not
    // make (it may read and write rows, not change tables), askOwner is called once
    // with the reason and may give the owner's login for this one upgrade (never
    // stored); without it the user is told to run the setup program, and the
    // recorded version stays below the refused statement.
    struct OwnerLogin {
        QString user;
        QString password;
    };
    using OwnerLoginPrompt = std::function<std::optional<OwnerLogin>(const QString &why)>;
    static std::unique_ptr<TDM> open(const OwnerLoginPrompt &askOwner = {});
    ~TDM();

    Database &ADOConnection1;
    Database &ADOtemp;
    Database &ADObuding();   // throws DbError when the patch database cannot be opened

    bool networkMode() const { return networkMode_; }
    // Messages start-up produced for the user (e.g. a rebuilt scratch database),
    // shown by the caller once the user interface exists.
    QStringList notices;

private:
    TDM(std::unique_ptr<Database> main, std::unique_ptr<Database> temp, bool network);
    void upgradeAsOwner(const PgParams &server, const QString &refused, const OwnerLoginPrompt &askOwner);
    std::unique_ptr<Database> main_;
    std::unique_ptr<Database> temp_;
    std::unique_ptr<Database> patch_;
    bool networkMode_ = false;
};

// The one data module of the running program (set by main and by tests).
extern TDM *DM;
