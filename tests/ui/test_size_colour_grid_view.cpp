#include "ui/SizeColourGridView.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

SizeColourGrid sample()
{
    return SizeColourGrid({QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")},
                          {QStringLiteral("红"), QStringLiteral("黑")});
}

// Every shown cell of a model row.
QStringList shownRow(const QAbstractItemModel &m, int row)
{
    QStringList cells;
    for (int c = 0; c < m.columnCount(); ++c) cells << m.index(row, c).data().toString();
    return cells;
}

class GridViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.setCornerText(QStringLiteral("颜色/尺码"));
        view.setGrid(sample());
        view.show();
        view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        view.setFocus();
    }
    // Keys go where the user's would: to the widget that has the focus.
    void key(Qt::Key k)
    {
        QTest::keyClick(QApplication::focusWidget(), k);
        QCoreApplication::processEvents();   // the view closes an editor a moment later
    }
    void type(const QString &text)
    {
        for (const QChar ch : text) {   // each key to whoever has the focus by then
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
            QCoreApplication::processEvents();
        }
    }
    QLineEdit *editor() { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }
    // (size, colour) of the current cell.
    std::pair<int, int> current() { return {view.currentIndex().column() - 1, view.currentIndex().row() - 1}; }

    SizeColourGridView view;
};

} // namespace

TEST_F(GridViewTest, LaysOutHeadersAndTotals)
{
    const QAbstractItemModel &m = *view.model();
    ASSERT_EQ(m.rowCount(), 4);
    ASSERT_EQ(m.columnCount(), 5);
    EXPECT_EQ(shownRow(m, 0), (QStringList{QStringLiteral("颜色/尺码"), QStringLiteral("S"), QStringLiteral("M"),
                                           QStringLiteral("L"), QStringLiteral("合计")}));
    EXPECT_EQ(shownRow(m, 1), (QStringList{QStringLiteral("红"), QString(), QString(), QString(), QStringLiteral("0")}));
    EXPECT_EQ(shownRow(m, 3), (QStringList{QStringLiteral("合计"), QStringLiteral("0"), QStringLiteral("0"),
                                           QStringLiteral("0"), QStringLiteral("0")}));
    // Only data cells can be edited.
    EXPECT_TRUE(m.flags(m.index(1, 1)) & Qt::ItemIsEditable);
    for (const auto &[r, c] : {std::pair{0, 0}, {0, 1}, {1, 0}, {3, 1}, {1, 4}, {3, 4}})
        EXPECT_FALSE(m.flags(m.index(r, c)) & Qt::ItemIsEditable) << r << "," << c;
    EXPECT_EQ(current(), (std::pair{0, 0}));

    // A grid without cells has no totals: the colour column only.
    view.setGrid(SizeColourGrid({}, {QStringLiteral("红"), QStringLiteral("黑")}));
    EXPECT_EQ(m.columnCount(), 1);
    EXPECT_EQ(m.rowCount(), 3);
    view.setGrid(SizeColourGrid());
    EXPECT_EQ(m.columnCount(), 1);
    EXPECT_EQ(m.rowCount(), 1);
}

TEST_F(GridViewTest, TypingEditsEnterCommitsArrowsMoveAndTheEditorFollows)
{
    type(QStringLiteral("5"));                       // typing starts the editor on S/红
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("5"));
    key(Qt::Key_Return);
    EXPECT_EQ(view.grid().cell(0, 0), QStringLiteral("5"));
    EXPECT_EQ(editor(), nullptr);

    type(QStringLiteral("12"));                      // replaces, not appends
    key(Qt::Key_Right);                              // commits and moves to M/红 with its editor open
    EXPECT_EQ(view.grid().cell(0, 0), QStringLiteral("12"));
    EXPECT_EQ(current(), (std::pair{1, 0}));
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QString());
    type(QStringLiteral("3"));
    key(Qt::Key_Down);
    EXPECT_EQ(current(), (std::pair{1, 1}));
    type(QStringLiteral("4"));
    key(Qt::Key_Left);
    EXPECT_EQ(current(), (std::pair{0, 1}));
    key(Qt::Key_Up);
    EXPECT_EQ(current(), (std::pair{0, 0}));
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("12"));   // the editor shows the cell it moved to

    // At the edge of the data cells the cell stays; the header is never entered.
    key(Qt::Key_Up);
    key(Qt::Key_Left);
    EXPECT_EQ(current(), (std::pair{0, 0}));
    key(Qt::Key_Escape);

    const SizeColourGrid &g = view.grid();
    EXPECT_EQ(g.cell(1, 0), QStringLiteral("3"));
    EXPECT_EQ(g.cell(1, 1), QStringLiteral("4"));
    EXPECT_EQ(g.total()->toString(), QStringLiteral("19"));
    const QAbstractItemModel &m = *view.model();
    EXPECT_EQ(shownRow(m, 3), (QStringList{QStringLiteral("合计"), QStringLiteral("12"), QStringLiteral("7"),
                                           QStringLiteral("0"), QStringLiteral("19")}));
    EXPECT_EQ(m.index(1, 4).data().toString(), QStringLiteral("15"));

    // Without an editor the arrows move the current cell the same way.
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(current(), (std::pair{2, 0}));
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(GridViewTest, EscapePutsBackTheTextAndABadCellLeavesItsTotalsEmpty)
{
    view.setGrid([] { SizeColourGrid g = sample(); g.place(QStringLiteral("S"), QStringLiteral("红"), QStringLiteral("2")); return g; }());
    const QAbstractItemModel &m = *view.model();
    type(QStringLiteral("9"));
    EXPECT_EQ(m.index(3, 4).data().toString(), QStringLiteral("9"));   // the total follows the typing
    key(Qt::Key_Escape);
    EXPECT_EQ(view.grid().cell(0, 0), QStringLiteral("2"));
    EXPECT_EQ(m.index(3, 4).data().toString(), QStringLiteral("2"));

    type(QStringLiteral("2x"));
    key(Qt::Key_Enter);
    const auto bad = view.grid().firstBadCell();
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->sizeName + bad->colourName, QStringLiteral("S红"));
    EXPECT_EQ(m.index(1, 4).data().toString(), QString());   // 红's total
    EXPECT_EQ(m.index(3, 1).data().toString(), QString());   // S's total
    EXPECT_EQ(m.index(3, 2).data().toString(), QStringLiteral("0"));
    EXPECT_EQ(m.index(3, 4).data(Qt::ToolTipRole).toString(), QStringLiteral("有不是数字的数量，无法合计"));
}

TEST_F(GridViewTest, ReadOnlyShowsButNeverEdits)
{
    SizeColourGrid g = sample();
    g.place(QStringLiteral("M"), QStringLiteral("黑"), Money::fromInt(6));
    view.setGrid(g);
    view.setReadOnly(true);
    type(QStringLiteral("8"));
    key(Qt::Key_Return);
    key(Qt::Key_F2);
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(view.grid(), g);
    EXPECT_FALSE(view.model()->flags(view.model()->index(2, 2)) & Qt::ItemIsEditable);
    EXPECT_FALSE(view.model()->setData(view.model()->index(2, 2), QStringLiteral("1")));
    EXPECT_EQ(view.model()->index(3, 4).data().toString(), QStringLiteral("6"));
}
