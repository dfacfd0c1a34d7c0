#pragma once

#include "ui/RecordEditor.h"

class QTabWidget;

// Colour groups and colours, on two pages.
class TFyanse_list : public ListWindow {
    Q_OBJECT
public:
    explicit TFyanse_list(QWidget *parent = nullptr);

    // ADOQuery1 (the groups, DBGridEh1) is the window's list(); these are the colours.
    RecordList &colours() { return *ADOQuery2; }

public Q_SLOTS:
    void FormShow();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    RecordList *ADOQuery2;
    QTableView *DBGridEh2;
    QTabWidget *PageControl1;
    bool attached_ = false;
};
