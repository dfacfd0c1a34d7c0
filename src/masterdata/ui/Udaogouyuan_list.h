#pragma once

#include "ui/PatternWindows.h"

class TFdaogouyuan_list : public PatternList {
    Q_OBJECT
public:
    explicit TFdaogouyuan_list(QWidget *parent = nullptr);
};
