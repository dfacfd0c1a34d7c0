#include "app/Notices.h"
#include "support/Harness.h"
#include "support/TestShop.h"
#include "ui/RecordList.h"

#include <QTableView>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

namespace {

const QString kChanged = QStringLiteral("该记录已被其他工作站修改，已重新读取，请重新修改");

// A second workstation on the same shop: its own connection to the same file or
// server database.
std::unique_ptr<Database> secondWorkstation(TestShop &shop)
{
    if (shop.engine() == Engine::SQLite) return Database::openSqlite(shop.db().location());
    PgParams p = TestShop::pgServer();
    p.database = shop.pgDatabase();
    return Database::openPostgres(p);
}

QString storedText(Database &db, const QString &sql)
{
    Query q(db);
    q.exec(sql);
    return q.next() ? q.text(q.columns().value(0)) : QStringLiteral("<no row>");
}

qint64 addArticle(Database &db, const QString &name, const QString &price)
{
    Query q(db);
    q.prepare(QStringLiteral("insert into 商品列表 (商品名称,零售价格,预设进价,数量) values (:n,:p,80,0) returning id"));
    return q.bind(QStringLiteral("n"), name).bind(QStringLiteral("p"), price).execReturningKey();
}

// Counts the change notices sent while it lives.
struct NoticeLog {
    QObject context;
    QStringList seen;   // "<flags>:<table>"
    NoticeLog()
    {
        QObject::connect(&changeNotices(), &ChangeNotices::changed, &context,
                         [this](ChangeNotices::Changes what, const QString &table) {
                             seen << QStringLiteral("%1:%2").arg(what.toInt()).arg(table);
                         });
    }
};

} // namespace

class RecordListWorkstations : public ::testing::TestWithParam<Engine> {};

TEST_P(RecordListWorkstations, SecondSaveOfAChangedRowIsRefusedRereadAndOverwritesNothing)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Harness h;
    auto other = secondWorkstation(shop);
    const qint64 id = addArticle(shop.db(), QStringLiteral("圆领T恤"), QStringLiteral("119"));
    RecordList first(shop.db(), QStringLiteral("商品列表"));
    RecordList second(*other, QStringLiteral("商品列表"));
    first.load();
    second.load();
    const QString row = QStringLiteral(" from 商品列表 where id=%1").arg(id);

    NoticeLog notices;
    ASSERT_TRUE(first.edit());
    first.setField(QStringLiteral("商品名称"), QStringLiteral("圆领T恤（新）"));
    first.setField(QStringLiteral("零售价格"), QStringLiteral("129"));
    ASSERT_TRUE(first.post());
    EXPECT_EQ(notices.seen, QStringList{QStringLiteral("%1:商品列表").arg(ChangeNotices::Changes(ChangeNotices::MasterData).toInt())});

    // The second workstation read the row before that save and changes only the name.
    ASSERT_TRUE(second.edit());
    second.setField(QStringLiteral("商品名称"), QStringLiteral("圆领短袖"));
    EXPECT_FALSE(second.post());
    EXPECT_TRUE(second.conflicted());
    EXPECT_EQ(h.msgs.errors, QStringList{kChanged});
    EXPECT_EQ(notices.seen.size(), 1);   // a refused save announces nothing
    EXPECT_EQ(storedText(shop.db(), QStringLiteral("select 商品名称") + row), QStringLiteral("圆领T恤（新）"));
    EXPECT_EQ(storedText(shop.db(), QStringLiteral("select 零售价格") + row), QStringLiteral("129"));
    // It now shows the row as stored, still open for changing.
    EXPECT_EQ(second.current(QStringLiteral("商品名称")).toString(), QStringLiteral("圆领T恤（新）"));
    EXPECT_EQ(second.data(second.index(second.currentRow(), second.columnIndex(QStringLiteral("零售价格")))).toString(),
              QStringLiteral("129"));
    EXPECT_EQ(second.state(), RecordList::State::Edit);

    // Changed again from what is stored now, the save goes through.
    second.setField(QStringLiteral("商品名称"), QStringLiteral("圆领短袖"));
    ASSERT_TRUE(second.post());
    EXPECT_EQ(storedText(shop.db(), QStringLiteral("select 商品名称") + row), QStringLiteral("圆领短袖"));
    EXPECT_EQ(storedText(shop.db(), QStringLiteral("select 零售价格") + row), QStringLiteral("129"));

    // The first workstation still shows the old name; changing another column keeps
    // the name the second one stored.
    ASSERT_TRUE(first.edit());
    first.setField(QStringLiteral("备注"), QStringLiteral("新款"));
    ASSERT_TRUE(first.post());
    EXPECT_EQ(storedText(shop.db(), QStringLiteral("select 商品名称") + row), QStringLiteral("圆领短袖"));
    EXPECT_EQ(storedText(shop.db(), QStringLiteral("select 备注") + row), QStringLiteral("新款"));
    EXPECT_EQ(notices.seen.size(), 3);
    EXPECT_EQ(h.msgs.errors.size(), 1);
}

TEST_P(RecordListWorkstations, ComparesWhatWasReadExactlyAndEmptyValuesAsEmpty)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Harness h;
    auto other = secondWorkstation(shop);
    struct Case {
        const char *what;
        QString column;
        QString before;                      // null stores null
        std::optional<QString> meanwhile;    // stored by the other workstation; none: untouched
        QString typed;
        bool refused;
        QString after;                       // stored in the end
    };
    const QString none;
    const Case cases[] = {
        {"price untouched", QStringLiteral("零售价格"), QStringLiteral("119.1235"), std::nullopt, QStringLiteral("120"), false, QStringLiteral("120")},
        {"price rewritten with the same value", QStringLiteral("零售价格"), QStringLiteral("119.1235"), QStringLiteral("119.1235"), QStringLiteral("120"), false, QStringLiteral("120")},
        {"price changed in the last decimal", QStringLiteral("零售价格"), QStringLiteral("119.1235"), QStringLiteral("119.1236"), QStringLiteral("120"), true, QStringLiteral("119.1236")},
        {"empty remark untouched", QStringLiteral("备注"), none, std::nullopt, QStringLiteral("新款"), false, QStringLiteral("新款")},
        {"empty remark filled", QStringLiteral("备注"), none, QStringLiteral("旧款"), QStringLiteral("新款"), true, QStringLiteral("旧款")},
        {"remark emptied", QStringLiteral("备注"), QStringLiteral("旧款"), none, QStringLiteral("新款"), true, QStringLiteral("")},
        {"empty cost untouched", QStringLiteral("预设进价"), none, std::nullopt, QStringLiteral("75.5"), false, QStringLiteral("75.5")},
        {"empty cost filled", QStringLiteral("预设进价"), none, QStringLiteral("0"), QStringLiteral("75.5"), true, QStringLiteral("0")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        h.msgs.clear();
        Query(shop.db()).exec(QStringLiteral("delete from 商品列表"));
        const qint64 id = addArticle(shop.db(), QStringLiteral("衬衫"), QStringLiteral("99"));
        Query set(shop.db());
        set.prepare(QStringLiteral("update 商品列表 set %1=:v where id=:id").arg(c.column));
        set.bind(QStringLiteral("v"), c.before.isNull() ? QVariant() : QVariant(c.before)).bind(QStringLiteral("id"), id).exec();

        RecordList list(shop.db(), QStringLiteral("商品列表"));
        list.load();
        if (c.meanwhile) {
            Query q(*other);
            q.prepare(QStringLiteral("update 商品列表 set %1=:v where id=:id").arg(c.column));
            q.bind(QStringLiteral("v"), c.meanwhile->isNull() ? QVariant() : QVariant(*c.meanwhile)).bind(QStringLiteral("id"), id).exec();
        }
        ASSERT_TRUE(list.edit());
        list.setField(c.column, c.typed);
        EXPECT_EQ(list.post(), !c.refused);
        EXPECT_EQ(h.msgs.errors, c.refused ? QStringList{kChanged} : QStringList{});
        EXPECT_EQ(storedText(shop.db(), QStringLiteral("select %1 from 商品列表 where id=%2").arg(c.column).arg(id)), c.after);
    }
}

TEST_P(RecordListWorkstations, InPlaceEditOfAChangedRowIsRefusedAndShowsTheStoredValue)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Harness h;
    auto other = secondWorkstation(shop);
    Query(shop.db()).exec(QStringLiteral("insert into 商品尺码 (尺码规则,尺码,排序编号) values ('上衣','S',1)"));
    Query(shop.db()).exec(QStringLiteral("insert into 商品尺码 (尺码规则,尺码,排序编号) values ('上衣','M',2)"));
    QTableView view;
    RecordList list(shop.db(), QStringLiteral("商品尺码"));
    list.load();
    list.attach(&view, {}, {QStringLiteral("排序编号")});
    NoticeLog notices;

    Query(*other).exec(QStringLiteral("update 商品尺码 set 排序编号=7 where 尺码='S'"));
    const int col = list.columnIndex(QStringLiteral("排序编号"));
    ASSERT_TRUE(list.setData(list.index(0, col), QStringLiteral("5")));
    list.setCurrentRow(1);   // leaving the row stores it
    EXPECT_EQ(h.msgs.errors, QStringList{kChanged});
    EXPECT_TRUE(notices.seen.isEmpty());
    EXPECT_EQ(list.state(), RecordList::State::Browse);
    EXPECT_EQ(list.data(list.index(0, col)).toString(), QStringLiteral("7"));
    EXPECT_EQ(storedText(shop.db(), QStringLiteral("select 排序编号 from 商品尺码 where 尺码='S'")), QStringLiteral("7"));

    // Typed again over what is shown now, it is stored.
    ASSERT_TRUE(list.setData(list.index(0, col), QStringLiteral("5")));
    list.setCurrentRow(1);
    EXPECT_EQ(storedText(shop.db(), QStringLiteral("select 排序编号 from 商品尺码 where 尺码='S'")), QStringLiteral("5"));
    EXPECT_EQ(notices.seen.size(), 1);
}

TEST_P(RecordListWorkstations, EveryStoredChangeIsAnnouncedAfterItsCommitOnly)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Harness h;
    const QString master = QString::number(ChangeNotices::Changes(ChangeNotices::MasterData).toInt());
    const QString warehouses = QString::number((ChangeNotices::MasterData | ChangeNotices::Warehouses).toInt());
    struct Case { QString table, column, flags; };
    for (const Case &c : {Case{QStringLiteral("库房名称"), QStringLiteral("库房名称"), warehouses},
                          Case{QStringLiteral("分店"), QStringLiteral("分店"), master}}) {
        SCOPED_TRACE(c.table.toStdString());
        RecordList list(shop.db(), c.table);
        list.load();
        NoticeLog notices;
        const QString one = c.flags + u':' + c.table;

        list.append();
        list.setField(c.column, QStringLiteral("一号"));
        ASSERT_TRUE(list.post());
        EXPECT_EQ(notices.seen, QStringList{one});
        ASSERT_TRUE(list.edit());
        list.setField(c.column, QStringLiteral("二号"));
        ASSERT_TRUE(list.post());
        EXPECT_EQ(notices.seen, QStringList({one, one}));

        // Inside a transaction that is then rolled back, nothing is announced.
        {
            Transaction outer(shop.db());
            ASSERT_TRUE(list.edit());
            list.setField(c.column, QStringLiteral("三号"));
            ASSERT_TRUE(list.post());
        }
        EXPECT_EQ(notices.seen.size(), 2);
        EXPECT_EQ(storedText(shop.db(), QStringLiteral("select %1 from %2").arg(c.column, c.table)), QStringLiteral("二号"));

        list.reload();
        ASSERT_TRUE(list.deleteCurrent());
        EXPECT_EQ(notices.seen, QStringList({one, one, one}));
    }
}

namespace {

// 1000 sizes (about four pages): 排序编号 repeats every seven rows, and every
// 50th row has none.
void addManySizes(Database &db)
{
    Transaction tx(db);
    Query ins(db);
    ins.prepare(QStringLiteral("insert into 商品尺码 (尺码规则,尺码,排序编号) values ('规则',:s,:n)"));
    for (int i = 0; i < 1000; ++i)
        ins.bind(QStringLiteral("s"), QStringLiteral("S%1").arg(i, 4, 10, QChar(u'0')))
            .bind(QStringLiteral("n"), i % 50 == 0 ? QVariant() : QVariant(i % 7))
            .exec();
    tx.commit();
}

struct Shown {
    std::optional<qint64> number;
    qint64 id;
};

std::vector<Shown> scrollToTheEnd(RecordList &list)
{
    while (list.canFetchMore()) list.fetchMore();
    std::vector<Shown> out;
    for (int r = 0; r < list.rowCount(); ++r) {
        const QVariant n = list.value(r, QStringLiteral("排序编号"));
        out.push_back({n.isNull() ? std::nullopt : std::optional<qint64>(Money::fromVariant(n).units() / Money::kScale),
                       list.value(r, QStringLiteral("id")).toLongLong()});
    }
    return out;
}

// Ties by key; empty values where the engine sorts them: the smallest value on
// SQLite, the largest on PostgreSQL.
bool inOrder(const std::vector<Shown> &rows, bool descending, Engine engine)
{
    const bool nullsFirst = (engine == Engine::SQLite) != descending;
    auto before = [descending, nullsFirst](const Shown &a, const Shown &b) {
        if (a.number != b.number) {
            if (!a.number) return nullsFirst;
            if (!b.number) return !nullsFirst;
            return descending ? *a.number > *b.number : *a.number < *b.number;
        }
        return a.id < b.id;
    };
    return std::is_sorted(rows.begin(), rows.end(), before)
        && std::adjacent_find(rows.begin(), rows.end(), [](const Shown &a, const Shown &b) { return a.id == b.id; }) == rows.end();
}

} // namespace

TEST_P(RecordListWorkstations, ListsReadAPageAtATimeInAStableOrder)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Harness h;
    addManySizes(shop.db());

    // Opening reads one page; scrolling to the end shows every row once, by key.
    QTableView view;
    view.resize(400, 300);
    RecordList list(shop.db(), QStringLiteral("商品尺码"));
    list.load();
    list.attach(&view);
    EXPECT_LE(list.rowsRead(), 256);
    EXPECT_LT(list.rowCount(), 1000);
    std::vector<Shown> rows = scrollToTheEnd(list);
    ASSERT_EQ(rows.size(), 1000u);
    EXPECT_EQ(list.rowsRead(), 1000);
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), [](const Shown &a, const Shown &b) { return a.id < b.id; }));

    // The statement's own order, completed by the key.
    list.load(QStringLiteral("select * from 商品尺码 where 尺码规则=:r order by 排序编号 desc"), {{QStringLiteral("r"), QStringLiteral("规则")}});
    EXPECT_LE(list.rowsRead(), 256);
    rows = scrollToTheEnd(list);
    ASSERT_EQ(rows.size(), 1000u);
    EXPECT_TRUE(inOrder(rows, true, GetParam()));
    EXPECT_FALSE((GetParam() == Engine::SQLite ? rows.back() : rows.front()).number.has_value());

    // A title click: that column, then the key, from the first page again.
    list.sort(list.columnIndex(QStringLiteral("排序编号")), Qt::AscendingOrder);
    EXPECT_LE(list.rowsRead(), 256);
    rows = scrollToTheEnd(list);
    ASSERT_EQ(rows.size(), 1000u);
    EXPECT_TRUE(inOrder(rows, false, GetParam()));
    EXPECT_FALSE((GetParam() == Engine::SQLite ? rows.front() : rows.back()).number.has_value());

    // The footer's sum is the server's, whatever has been read.
    list.load(QStringLiteral("select * from 商品尺码 where 排序编号>:n"), {{QStringLiteral("n"), 2}});
    EXPECT_LE(list.rowsRead(), 256);
    EXPECT_EQ(list.sums({QStringLiteral("排序编号")}).at(0).toString(),
              storedText(shop.db(), QStringLiteral("select sum(排序编号) from 商品尺码 where 排序编号>2")));
}

TEST_P(RecordListWorkstations, RowsStoredWhileTheListIsReadShowOnce)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Harness h;
    addManySizes(shop.db());
    auto other = secondWorkstation(shop);
    RecordList list(shop.db(), QStringLiteral("商品尺码"));
    list.load(QStringLiteral("select * from 商品尺码 order by 尺码"));
    const int firstPage = list.rowCount();

    // This workstation adds a row (shown at once, where it was entered), the other
    // one deletes a row not yet read and adds one: reading on shows each row once.
    list.append();
    list.setField(QStringLiteral("尺码规则"), QStringLiteral("规则"));
    list.setField(QStringLiteral("尺码"), QStringLiteral("S5000"));
    ASSERT_TRUE(list.post());
    EXPECT_EQ(list.rowCount(), firstPage + 1);
    EXPECT_EQ(list.current(QStringLiteral("尺码")).toString(), QStringLiteral("S5000"));
    Query(*other).exec(QStringLiteral("delete from 商品尺码 where 尺码='S0900'"));
    Query(*other).exec(QStringLiteral("insert into 商品尺码 (尺码规则,尺码) values ('规则','S0901A')"));
    while (list.canFetchMore()) list.fetchMore();
    QStringList sizes;
    for (int r = 0; r < list.rowCount(); ++r) sizes << list.value(r, QStringLiteral("尺码")).toString();
    EXPECT_EQ(sizes.size(), 1001);
    EXPECT_EQ(sizes.count(QStringLiteral("S5000")), 1);
    EXPECT_EQ(sizes.count(QStringLiteral("S0901A")), 1);
    EXPECT_EQ(sizes.count(QStringLiteral("S0900")), 0);
    EXPECT_EQ(sizes.indexOf(QStringLiteral("S0901A")), sizes.indexOf(QStringLiteral("S0901")) + 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, RecordListWorkstations, ::testing::ValuesIn(testEngines()), EngineParamName());
