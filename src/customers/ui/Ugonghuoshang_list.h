#pragma once

#include "ui/PatternWindows.h"

class TFgonghuoshang_list : public PatternList {
    Q_OBJECT
public:
    explicit TFgonghuoshang_list(QWidget *parent = nullptr);
};
