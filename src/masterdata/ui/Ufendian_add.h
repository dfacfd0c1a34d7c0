#pragma once

#include "ui/PatternWindows.h"

class QLineEdit;

class TFfendian_add : public PatternEditor {
    Q_OBJECT
public:
    explicit TFfendian_add(QWidget *parent = nullptr);

    QLineEdit *DBEdit1;
};
