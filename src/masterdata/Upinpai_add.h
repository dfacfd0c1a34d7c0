#pragma once

#include "masterdata/NameWindows.h"

class TFpinpai_add : public NameEditor {
    Q_OBJECT
public:
    explicit TFpinpai_add(QWidget *parent = nullptr);
};
