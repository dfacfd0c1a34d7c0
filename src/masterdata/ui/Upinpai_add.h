#pragma once

#include "ui/NameWindows.h"

class TFpinpai_add : public NameEditor {
    Q_OBJECT
public:
    explicit TFpinpai_add(QWidget *parent = nullptr);
};
