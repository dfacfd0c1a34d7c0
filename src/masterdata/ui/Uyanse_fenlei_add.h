#pragma once

#include "ui/NameWindows.h"

class TFyanse_fenlei_add : public NameEditor {
    Q_OBJECT
public:
    explicit TFyanse_fenlei_add(QWidget *parent = nullptr);
};
