#include "app/Session.h"
#include "ui/Messages.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

// With Qt's own translations loaded, the question box the message service shows
// (and every standard button) reads Chinese.
TEST(QtTranslations, QuestionBoxButtonsReadChinese)
{
    ASSERT_TRUE(installQtTranslations());
    session().ProgramTitle = QStringLiteral("Quenvar店铺收银管理系统");
    std::unique_ptr<QMessageBox> box(newQuestionBox(QStringLiteral("确实要删除吗？")));
    ASSERT_NE(box->button(QMessageBox::Cancel), nullptr);
    ASSERT_NE(box->button(QMessageBox::Ok), nullptr);
    EXPECT_EQ(box->button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
    EXPECT_EQ(box->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Cancel));
    EXPECT_EQ(box->windowTitle(), session().ProgramTitle);
    EXPECT_EQ(box->text(), QStringLiteral("确实要删除吗？"));

    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
}
