#pragma once

#include "app/Database.h"

#include <QString>
#include <QStringList>

// The two lookups every size-by-colour grid is built from.

// The size labels of a size rule, smaller 排序编号 first; sizes with equal numbers
// keep the order in which they were added. Empty for a rule without sizes.
QStringList SizesOfRule(Database &db, const QString &rule);

// The colour names of a colour group in the order they were added. Empty for a
// group without colours.
QStringList ColoursOfGroup(Database &db, const QString &group);
