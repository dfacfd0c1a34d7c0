#pragma once

#include "ui/PatternWindows.h"

class QLineEdit;

class TFkehu_leixing_add : public PatternEditor {
    Q_OBJECT
public:
    explicit TFkehu_leixing_add(QWidget *parent = nullptr);

    QLineEdit *DBEdit1;
    QLineEdit *DBEdit2;
};
