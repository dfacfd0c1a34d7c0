#pragma once

#include "ui/PatternWindows.h"

class QLineEdit;

class TFkehu_qvyu_add : public PatternEditor {
    Q_OBJECT
public:
    explicit TFkehu_qvyu_add(QWidget *parent = nullptr);

    QLineEdit *DBEdit1;
};
