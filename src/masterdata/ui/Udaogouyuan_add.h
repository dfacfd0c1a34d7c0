#pragma once

#include "ui/PatternWindows.h"

class QLineEdit;

class TFdaogouyuan_add : public PatternEditor {
    Q_OBJECT
public:
    explicit TFdaogouyuan_add(QWidget *parent = nullptr);

    QLineEdit *DBEdit1;
};
