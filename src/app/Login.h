#pragma once

#include "app/Database.h"

#include <QString>
#include <QStringList>
#include <vector>

// The operator's login against 登陆 and the rights that gate the main window's
// menu entries.
namespace login {

enum class Outcome { NoSuchUser, WrongPassword, Ok };

struct Result {
    Outcome outcome = Outcome::NoSuchUser;
    QString branch;        // 登陆.部门
    QStringList rights;    // right1 .. right5
};

// Looks the operator up by name, ignoring letter case as the shop's older store
// did (an exact match wins when two names differ only in case), and checks the
// password. A password still stored in plain text (an older database) is accepted
// when it matches exactly and is replaced by its hash in the same step.
Result check(Database &db, const QString &user, const QString &password);

// right1 .. right5 of the operator (empty strings when the operator is gone).
QStringList readRights(Database &db, const QString &user);

// One gated menu entry: the rights string (1..5), the position in it (from 1) and
// the entry's objectName.
struct Gate {
    int group;
    int position;
    const char *entry;
};
// The twenty gated entries in the order they are applied.
const std::vector<Gate> &gates();

} // namespace login
