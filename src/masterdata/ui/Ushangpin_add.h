#pragma once

#include "ui/RecordEditor.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

// The goods editor: one article of the goods list, with quick-add buttons for its
// category, size rule, colour group and brand.
class TFshangpin_add : public RecordEditor {
    Q_OBJECT
public:
    explicit TFshangpin_add(QWidget *parent = nullptr);

    QLineEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4;
    QComboBox *DBComboBox1, *DBComboBox2, *DBComboBox3, *DBComboBox4, *DBComboBox5;
    QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton4;
    QPushButton *Button1, *Button2;

public Q_SLOTS:
    void FormShow();
    void Button1Click();
    void Button2Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();

protected:
    void showEvent(QShowEvent *event) override;
};
