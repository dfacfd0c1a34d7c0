#pragma once

#include "ui/PatternWindows.h"

class QComboBox;
class QLineEdit;

class TFkufang_add : public PatternEditor {
    Q_OBJECT
public:
    explicit TFkufang_add(QWidget *parent = nullptr);

    QComboBox *DBComboBox1;
    QLineEdit *DBEdit1;

public Q_SLOTS:
    // Offers "总部" and then every branch; typed text is accepted as well.
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;
};
