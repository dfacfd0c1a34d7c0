#pragma once

#include "ui/NameWindows.h"

class TFyanse_add : public NameEditor {
    Q_OBJECT
public:
    explicit TFyanse_add(QWidget *parent = nullptr);
};
