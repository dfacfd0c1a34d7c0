#pragma once

#include "masterdata/Upattern_windows.h"

class TFgonghuoshang_list : public PatternList {
    Q_OBJECT
public:
    explicit TFgonghuoshang_list(QWidget *parent = nullptr);
};
