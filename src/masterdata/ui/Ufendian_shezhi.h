#pragma once

#include "ui/PatternWindows.h"

class TFfendian_shezhi : public PatternList {
    Q_OBJECT
public:
    explicit TFfendian_shezhi(QWidget *parent = nullptr);
};
