#pragma once

#include "ui/RecordEditor.h"

class QComboBox;
class QTabWidget;

// Size rules and the sizes of each rule, on two pages.
class TFshangpin_chima : public ListWindow {
    Q_OBJECT
public:
    explicit TFshangpin_chima(QWidget *parent = nullptr);

    // ADOQuery1 (the sizes, DBGridEh1) is the window's list(); these are the rules.
    RecordList &rules() { return *ADOQuery2; }

public Q_SLOTS:
    void FormShow();
    void PageControl1Change();
    void ComboBox1Select();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    RecordList *ADOQuery2;
    QTableView *DBGridEh2;
    QTabWidget *PageControl1;
    QComboBox *ComboBox1;
    bool attached_ = false;
};
