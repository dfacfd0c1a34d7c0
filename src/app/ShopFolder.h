#pragma once

#include <QString>

class QCoreApplication;

// The shop folder a program works on: the --shop option, else $QUENVAR_SHOP, else
// ~/.local/share/quenvar/shop; absolute. Handles --help with the description.
QString shopFolderFromCommandLine(const QCoreApplication &app, const QString &description);
