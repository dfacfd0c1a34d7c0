#pragma once

#include "ui/NameWindows.h"

class TFshangpin_leibie : public NameListWindow {
    Q_OBJECT
public:
    explicit TFshangpin_leibie(QWidget *parent = nullptr);
};
