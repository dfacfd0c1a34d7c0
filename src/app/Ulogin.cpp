#include "app/Ulogin.h"

TFlogin::TFlogin(TFmain *, QWidget *parent) : QDialog(parent) { setObjectName(QStringLiteral("TFlogin")); }
