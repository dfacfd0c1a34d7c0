#pragma once

#include "ui/NameWindows.h"

class TFpinpai_list : public NameListWindow {
    Q_OBJECT
public:
    explicit TFpinpai_list(QWidget *parent = nullptr);
};
