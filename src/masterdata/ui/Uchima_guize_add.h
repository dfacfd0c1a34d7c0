#pragma once

#include "ui/NameWindows.h"

class TFchima_guize_add : public NameEditor {
    Q_OBJECT
public:
    explicit TFchima_guize_add(QWidget *parent = nullptr);
};
