#pragma once

#include "ui/PatternWindows.h"

class TFkehu_leixing_list : public PatternList {
    Q_OBJECT
public:
    explicit TFkehu_leixing_list(QWidget *parent = nullptr);
};
