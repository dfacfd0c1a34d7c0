#pragma once

#include "ui/PatternWindows.h"

class TFkehu_qvyu_list : public PatternList {
    Q_OBJECT
public:
    explicit TFkehu_qvyu_list(QWidget *parent = nullptr);
};
