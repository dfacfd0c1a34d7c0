#pragma once

#include "ui/PatternWindows.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

// The editor of an account partner (wholesale customer, supplier): name, contact,
// phone, address, remark, and the opening balance, which can be typed only while
// the row is new (afterwards the documents move it).
class AccountEditor : public PatternEditor {
    Q_OBJECT
public:
    struct Options {
        QString className, caption;
        QString nameColumn, nameLabel;
        QString balanceColumn, balanceLabel, balanceHint;
        QString blankNameMessage;   // empty: a blank name is accepted
    };
    AccountEditor(const Options &options, QWidget *parent = nullptr);

    QLineEdit *DBEdit1;
    QLineEdit *DBEdit2;
    QLineEdit *DBEdit3;
    QLineEdit *DBEdit4;
    QLineEdit *DBEdit5;
    QPlainTextEdit *DBMemo1;
    QLabel *BalanceHint;

public Q_SLOTS:
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;
    bool check() override;

private:
    QString blankNameMessage_;
};
