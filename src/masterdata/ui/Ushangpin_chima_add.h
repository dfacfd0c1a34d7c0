#pragma once

#include "ui/NameWindows.h"

class TFshangpin_chima_add : public NameEditor {
    Q_OBJECT
public:
    explicit TFshangpin_chima_add(QWidget *parent = nullptr);
};
