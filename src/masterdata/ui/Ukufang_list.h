#pragma once

#include "ui/PatternWindows.h"

class TFkufang_list : public PatternList {
    Q_OBJECT
public:
    explicit TFkufang_list(QWidget *parent = nullptr);
};
