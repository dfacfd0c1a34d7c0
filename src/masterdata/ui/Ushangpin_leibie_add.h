#pragma once

#include "ui/NameWindows.h"

class TFshangpin_leibie_add : public NameEditor {
    Q_OBJECT
public:
    explicit TFshangpin_leibie_add(QWidget *parent = nullptr);
};
