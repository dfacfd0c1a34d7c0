#pragma once

#include "customers/Uaccount_editor.h"

class TFgonghuoshang_add : public AccountEditor {
    Q_OBJECT
public:
    explicit TFgonghuoshang_add(QWidget *parent = nullptr);
};
