#include "app/Umain.h"

TFmain::TFmain(QWidget *parent) : QMainWindow(parent) { setObjectName(QStringLiteral("TFmain")); }
