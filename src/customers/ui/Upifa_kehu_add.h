#pragma once

#include "customers/ui/Uaccount_editor.h"

class TFpifa_kehu_add : public AccountEditor {
    Q_OBJECT
public:
    explicit TFpifa_kehu_add(QWidget *parent = nullptr);
};
