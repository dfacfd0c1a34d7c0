#include "app/Notices.h"
#include "masterdata/BarcodeCodes.h"
#include "support/TestShop.h"
#include "test_barcode_fixture.h"

#include <gtest/gtest.h>

using namespace barcodefixture;

namespace {

// Every stored code of an article, colours then sizes, in the order stored.
QStringList storedCodes(Database &db, qint64 article)
{
    QStringList out;
    Query q(db);
    for (const auto &[table, column] : {std::pair{QStringLiteral("颜色条码设置"), QStringLiteral("颜色")},
                                        std::pair{QStringLiteral("尺码条码设置"), QStringLiteral("尺码")}}) {
        q.prepare(QStringLiteral("select * from %1 where 商品编号=:a order by id").arg(table));
        q.bind(QStringLiteral("a"), article).exec();
        while (q.next()) out << q.text(column) + u'=' + q.text(QStringLiteral("条码"));
    }
    return out;
}

} // namespace

class BarcodeCodesOnEngines : public ::testing::TestWithParam<Engine> {};

TEST_P(BarcodeCodesOnEngines, SaveReplacesOneArticlesCodesAsAWhole)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    addSizes(db, QStringLiteral("上衣"), {QStringLiteral("S"), QStringLiteral("M")});
    addColours(db, QStringLiteral("基本色"), {QStringLiteral("黑"), QStringLiteral("白")});
    const qint64 tee = addArticle(db, QStringLiteral("T恤"), QStringLiteral("A01"), QStringLiteral("上衣"), QStringLiteral("基本色"), QString());
    const qint64 coat = addArticle(db, QStringLiteral("外套"), QStringLiteral("C03"), QStringLiteral("上衣"), QStringLiteral("基本色"), QString());
    // Codes of the T-shirt, one of them for a colour no longer in its group; the coat's own code.
    setCodes(db, tee, {{QStringLiteral("S"), QStringLiteral("3")}}, {{QStringLiteral("红"), QStringLiteral("7")}, {QStringLiteral("黑"), QStringLiteral("1")}});
    setCodes(db, coat, {{QStringLiteral("S"), QStringLiteral("9")}}, {});

    BarcodeCodes codes(db);
    const QStringList colours{QStringLiteral("黑"), QStringLiteral("白")};
    const QStringList sizes{QStringLiteral("S"), QStringLiteral("M")};
    EXPECT_EQ(codes.colourCodes(tee, colours), (QStringList{QStringLiteral("1"), QString()}));
    EXPECT_EQ(codes.sizeCodes(tee, sizes), (QStringList{QStringLiteral("3"), QString()}));
    EXPECT_EQ(codes.sizeCodes(coat + 100, sizes), (QStringList{QString(), QString()}));

    QStringList notices;
    QObject context;
    QObject::connect(&changeNotices(), &ChangeNotices::changed, &context,
                     [&](ChangeNotices::Changes, const QString &table) { notices << table; });
    codes.save(tee, {{QStringLiteral("黑"), QStringLiteral("11")}, {QStringLiteral("白"), QString()}},
               {{QStringLiteral("S"), QStringLiteral("3")}, {QStringLiteral("M"), QStringLiteral("M9")}});
    EXPECT_EQ(storedCodes(db, tee), (QStringList{QStringLiteral("黑=11"), QStringLiteral("白="), QStringLiteral("S=3"),
                                                 QStringLiteral("M=M9")}));
    EXPECT_EQ(storedCodes(db, coat), QStringList{QStringLiteral("S=9")});
    EXPECT_EQ(notices, (QStringList{QStringLiteral("颜色条码设置"), QStringLiteral("尺码条码设置")}));
    EXPECT_EQ(codes.colourCodes(tee, colours), (QStringList{QStringLiteral("11"), QString()}));
}

TEST_P(BarcodeCodesOnEngines, AStoreErrorLeavesBothKindsOfCodesAsTheyWere)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    addSizes(db, QStringLiteral("上衣"), {QStringLiteral("S"), QStringLiteral("M")});
    addColours(db, QStringLiteral("基本色"), {QStringLiteral("黑")});
    const qint64 tee = addArticle(db, QStringLiteral("T恤"), QStringLiteral("A01"), QStringLiteral("上衣"), QStringLiteral("基本色"), QString());
    setCodes(db, tee, {{QStringLiteral("S"), QStringLiteral("3")}}, {{QStringLiteral("黑"), QStringLiteral("1")}});
    const QStringList before = storedCodes(db, tee);

    // The store refuses the second size code, after the colours were replaced.
    if (shop.engine() == Engine::SQLite) {
        db.execute(QStringLiteral("create trigger qv_refuse before insert on 尺码条码设置 when new.尺码='M' "
                                  "begin select raise(abort, '尺码条码写入失败'); end"));
    } else {
        db.execute(QStringLiteral("create function qv_refuse() returns trigger language plpgsql as $$ begin "
                                  "if new.尺码 = 'M' then raise exception '尺码条码写入失败'; end if; return new; end $$"));
        db.execute(QStringLiteral("create trigger qv_refuse before insert on 尺码条码设置 for each row execute procedure qv_refuse()"));
    }
    QStringList notices;
    QObject context;
    QObject::connect(&changeNotices(), &ChangeNotices::changed, &context,
                     [&](ChangeNotices::Changes, const QString &table) { notices << table; });
    try {
        BarcodeCodes(db).save(tee, {{QStringLiteral("黑"), QStringLiteral("5")}},
                              {{QStringLiteral("S"), QStringLiteral("6")}, {QStringLiteral("M"), QStringLiteral("7")}});
        ADD_FAILURE() << "the refused code was not reported";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("尺码条码写入失败"))) << e.what();
    }
    EXPECT_EQ(storedCodes(db, tee), before);
    EXPECT_TRUE(notices.isEmpty());
    EXPECT_FALSE(db.inTransaction());
}

INSTANTIATE_TEST_SUITE_P(Engines, BarcodeCodesOnEngines, ::testing::ValuesIn(testEngines()), EngineParamName());
