#pragma once

#include "ui/RecordEditor.h"

// The goods list: every article, with its editor and the barcode window.
class TFshangpin_list : public ListWindow {
    Q_OBJECT
public:
    explicit TFshangpin_list(QWidget *parent = nullptr);

public Q_SLOTS:
    void FormShow();
    void Button1Click();
    void Button4Click();
    void Button2Click();
    void Button5Click();
    void Button3Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool attached_ = false;
};
