#pragma once

#include "customers/ui/Uaccount_editor.h"

class TFgonghuoshang_add : public AccountEditor {
    Q_OBJECT
public:
    explicit TFgonghuoshang_add(QWidget *parent = nullptr);
};
