#pragma once

#include "ui/PatternWindows.h"

class TFpifa_kehu_list : public PatternList {
    Q_OBJECT
public:
    explicit TFpifa_kehu_list(QWidget *parent = nullptr);
};
