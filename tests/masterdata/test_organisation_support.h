#pragma once

#include "support/Harness.h"
#include "support/TestShop.h"
#include "ui/WindowRegistry.h"

#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

// Readable failures: texts as UTF-8 rather than as bytes.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os) { *os << '{' << l.join(QStringLiteral(", ")).toStdString() << '}'; }

// Every row of a statement, its columns joined by "|".
inline QStringList rows(Database &db, const QString &sql)
{
    Query q(db);
    q.exec(sql);
    QStringList r;
    const QStringList cols = q.columns();
    while (q.next()) {
        QStringList v;
        for (const QString &c : cols) v << q.text(c);
        r << v.join(u'|');
    }
    return r;
}

// The captions of Button1, Button2, ... of a window, in that order.
inline QStringList buttonCaptions(QWidget *root, int count)
{
    QStringList r;
    for (int i = 1; i <= count; ++i) r << child<QPushButton>(root, QStringLiteral("Button%1").arg(i))->text();
    return r;
}

// Window tests of list windows on a fresh SQLite shop: the windows of one group,
// created anew for each test.
class ListWindowTest : public ::testing::Test {
protected:
    explicit ListWindowTest(void (*registerWindows)())
    {
        registerWindows();
        resetWindows();
    }
    ~ListWindowTest() override { resetWindows(); }

    // Opens a list window as the main window does and runs body while it is shown.
    void withList(const QString &cls, std::function<void(QDialog &)> body)
    {
        h.modal.on(cls, std::move(body));
        EXPECT_EQ(openWindow(cls), QDialog::Rejected);
    }

    TestShop shop;
    Harness h;
};
