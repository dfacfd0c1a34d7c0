#include "tools/demoshop/DemoShop.h"
#include "support/TestShop.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <map>

namespace {

DemoShopOptions smallShop(quint64 seed = 7)
{
    DemoShopOptions o;
    o.articles = 40;
    o.saleLines = 700;
    o.seed = seed;
    o.now = QDateTime(QDate(2026, 3, 15), QTime(14, 30));
    return o;
}

QString q_(const char *t) { return QString::fromUtf8(t); }

// Sum of a quantity column per article.
std::map<qint64, Money> perArticle(Database &db, const QString &table)
{
    std::map<qint64, Money> out;
    Query q(db);
    q.exec(QStringLiteral("select 商品编码, sum(数量) as n from %1 group by 商品编码").arg(table));
    while (q.next()) out[q.integer(q_("商品编码"))] = q.money(q_("n"));
    return out;
}

// Every row of a table in key order, as text, for comparing two shops.
QStringList dump(Database &db, const QString &table, const QString &key)
{
    QStringList rows;
    Query q(db);
    q.exec(QStringLiteral("select * from %1 order by %2").arg(table, key));
    const QStringList cols = q.columns();
    while (q.next()) {
        QStringList r;
        for (const QString &c : cols) r << q.text(c);
        rows << r.join(u'|');
    }
    return rows;
}

} // namespace

class DemoShopOnEngines : public ::testing::TestWithParam<Engine> {};

TEST_P(DemoShopOnEngines, StoresAgreeBarcodesComposeAndSalesAddUp)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    Database &db = shop.db();
    const DemoShopOptions opt = smallShop();
    const DemoShopSummary s = DemoShop(db, opt).generate();
    EXPECT_EQ(s.articles, 40);
    EXPECT_EQ(s.saleLines, 700);

    // The three stock stores agree article by article.
    std::map<qint64, Money> listed;
    QHash<qint64, QString> huohao, format, name;
    {
        Query q(db);
        q.exec(q_("select id,数量,货号,条码格式,商品名称 from 商品列表"));
        while (q.next()) {
            const qint64 id = q.integer(q_("id"));
            listed[id] = q.money(q_("数量"));
            huohao[id] = q.text(q_("货号"));
            format[id] = q.text(q_("条码格式"));
            name[id] = q.text(q_("商品名称"));
        }
    }
    ASSERT_EQ(listed.size(), 40u);
    const auto byWarehouse = perArticle(db, q_("库存总表"));
    const auto bySize = perArticle(db, q_("库存尺码表"));
    Money all;
    for (const auto &[id, n] : listed) {
        const Money w = byWarehouse.count(id) ? byWarehouse.at(id) : Money();
        const Money z = bySize.count(id) ? bySize.at(id) : Money();
        EXPECT_EQ(n, w) << "article " << id;
        EXPECT_EQ(n, z) << "article " << id;
        all += n;
    }
    EXPECT_GT(all, Money());
    EXPECT_EQ(byWarehouse.size(), bySize.size());

    // Every barcode is 货号 plus the colour and size codes in the article's order,
    // and the ledger rows carry the copies of name, 货号 and barcode.
    QHash<QString, QString> sizeCode, colourCode;   // "id|尺码" -> code
    {
        Query q(db);
        q.exec(q_("select * from 尺码条码设置"));
        while (q.next()) sizeCode[QString::number(q.integer(q_("商品编号"))) + u'|' + q.text(q_("尺码"))] = q.text(q_("条码"));
        q.exec(q_("select * from 颜色条码设置"));
        while (q.next()) colourCode[QString::number(q.integer(q_("商品编号"))) + u'|' + q.text(q_("颜色"))] = q.text(q_("条码"));
    }
    QHash<QString, QString> barcodeOf;   // "id|尺码|颜色" -> barcode
    QSet<QString> formatsSeen;
    int rows = 0;
    {
        Query q(db);
        q.exec(q_("select * from 商品条码表"));
        while (q.next()) {
            const qint64 id = q.integer(q_("商品编码"));
            const QString key = QString::number(id);
            const QString sc = sizeCode.value(key + u'|' + q.text(q_("尺码")));
            const QString cc = colourCode.value(key + u'|' + q.text(q_("颜色")));
            ASSERT_FALSE(sc.isEmpty());
            ASSERT_FALSE(cc.isEmpty());
            const bool sizeFirst = format[id] == q_("货号+尺码+颜色");
            formatsSeen << format[id];
            EXPECT_EQ(q.text(q_("商品条码")), huohao[id] + (sizeFirst ? sc + cc : cc + sc));
            EXPECT_EQ(q.text(q_("商品货号")), huohao[id]);
            barcodeOf[key + u'|' + q.text(q_("尺码")) + u'|' + q.text(q_("颜色"))] = q.text(q_("商品条码"));
            ++rows;
        }
    }
    EXPECT_EQ(rows, s.barcodes);
    EXPECT_EQ(barcodeOf.size(), rows) << "one barcode per article, size and colour";
    EXPECT_TRUE(formatsSeen.contains(q_("货号+颜色+尺码")) && formatsSeen.contains(q_("货号+尺码+颜色")));
    {
        Query q(db);
        q.exec(q_("select * from 库存尺码表"));
        while (q.next()) {
            const qint64 id = q.integer(q_("商品编码"));
            EXPECT_EQ(q.text(q_("商品条码")),
                      barcodeOf.value(QString::number(id) + u'|' + q.text(q_("商品尺码")) + u'|' + q.text(q_("颜色"))));
            EXPECT_EQ(q.text(q_("货号")), huohao[id]);
            EXPECT_EQ(q.text(q_("商品名称")), name[id]);
        }
        q.exec(q_("select * from 库存总表"));
        while (q.next()) {
            const qint64 id = q.integer(q_("商品编码"));
            EXPECT_EQ(q.text(q_("货号")), huohao[id]);
            EXPECT_EQ(q.text(q_("商品名称")), name[id]);
        }
    }

    // Each sale's 折后金额 is the sum of its lines; numbers are the kind's prefix,
    // the sale's day and a daily counter that counts 0001, 0002, ... per kind.
    std::map<QString, Money> lineSums;
    {
        Query q(db);
        q.exec(q_("select 销售单号, 金额合计, 销售价, 数量 from 销售明细表"));
        while (q.next()) {
            EXPECT_EQ(q.money(q_("金额合计")), q.money(q_("销售价")) * q.money(q_("数量")));
            EXPECT_EQ(q.money(q_("销售价")).units() % 100, 0) << "prices are whole cents";
            lineSums[q.text(q_("销售单号"))] += q.money(q_("金额合计"));
        }
    }
    std::map<QString, QStringList> numbersOfDay;   // "LS20260315" -> numbers in time order
    int sales = 0, wholesale = 0, today = 0;
    {
        Query q(db);
        q.exec(q_("select * from 销售总表 order by 日期时间, 销售单号"));
        const QRegularExpression form(QStringLiteral("^(LS|PF)(\\d{8})(\\d{4})$"));
        while (q.next()) {
            ++sales;
            const QString number = q.text(q_("销售单号"));
            ASSERT_TRUE(lineSums.count(number)) << number.toStdString();
            EXPECT_EQ(q.money(q_("折后金额")), lineSums.at(number)) << number.toStdString();
            const auto m = form.match(number);
            ASSERT_TRUE(m.hasMatch()) << number.toStdString();
            const QDateTime when = q.moment(q_("日期时间"));
            EXPECT_EQ(m.captured(1), q.text(q_("销售类型")) == q_("批发") ? QStringLiteral("PF") : QStringLiteral("LS"));
            EXPECT_EQ(m.captured(2), when.date().toString(QStringLiteral("yyyyMMdd")));
            EXPECT_EQ(q.text(q_("销售辅助单号")), number.mid(2));
            EXPECT_LE(when, opt.now);
            numbersOfDay[m.captured(1) + m.captured(2)] << m.captured(3);
            if (m.captured(1) == u"PF") ++wholesale;
            if (when.date() == opt.now.date()) ++today;
        }
    }
    EXPECT_EQ(sales, int(lineSums.size())) << "no line without its sale";
    EXPECT_GT(wholesale, 0);
    EXPECT_GT(today, 0);
    for (const auto &[day, numbers] : numbersOfDay)
        for (int i = 0; i < numbers.size(); ++i)
            EXPECT_EQ(numbers[i].toInt(), i + 1) << day.toStdString();

    // Today's sales are found as the takings find them: between today and tomorrow.
    {
        Query q(db);
        q.prepare(q_("select count(*) as n from 销售总表 where 日期时间 between :sj1 and :sj2"));
        q.bind(q_("sj1"), opt.now.date()).bind(q_("sj2"), opt.now.date().addDays(1)).exec();
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.integer(q_("n")), today);
    }

    // The stock came in through purchase receipts: numbered by the number rule
    // ("JH", the receipt's day, a counter 01, 02, ... per day), each article line
    // the sum of its size lines, the header the sum of its lines' amounts.
    {
        std::map<QString, int> perDay;
        Query q(db);
        q.exec(q_("select * from 出库入库总表 order by id"));
        const QRegularExpression form(QStringLiteral("^JH(\\d{8})(\\d{2,})$"));
        int receipts = 0;
        while (q.next()) {
            ++receipts;
            const QString number = q.text(q_("单据编号"));
            const auto m = form.match(number);
            ASSERT_TRUE(m.hasMatch()) << number.toStdString();
            EXPECT_EQ(m.captured(1), q.moment(q_("填表日期")).date().toString(QStringLiteral("yyyyMMdd")));
            EXPECT_LT(q.moment(q_("填表日期")).date(), opt.now.date());
            EXPECT_EQ(m.captured(2).toInt(), ++perDay[m.captured(1)]) << number.toStdString();
            EXPECT_EQ(q.text(q_("货单辅助编号")), number.mid(2));
            EXPECT_EQ(q.text(q_("单据类型")), q_("采购入库"));
        }
        EXPECT_EQ(receipts, s.receipts);
        EXPECT_GT(receipts, 0);
        std::map<QString, Money> due, lineSum;   // summed here: SQLite sums money as floating point
        q.exec(q_("select 单据编号, 应付货款 from 出库入库总表"));
        while (q.next()) due[q.text(q_("单据编号"))] = q.money(q_("应付货款"));
        q.exec(q_("select 单据编号, 金额, 进价, 数量 from 出库入库明细表"));
        while (q.next()) {
            EXPECT_EQ(q.money(q_("金额")), q.money(q_("进价")) * q.money(q_("数量")));
            lineSum[q.text(q_("单据编号"))] += q.money(q_("金额"));
        }
        EXPECT_EQ(due, lineSum) << "应付货款 is the sum of the lines";
        q.exec(q_("select count(*) as n from 出库入库明细表 l where l.数量<>(select coalesce(sum(z.数量),0) from 入库尺码明细表 z "
                  "where z.单据编号=l.单据编号 and z.商品编码=l.商品编码 and z.临时码=l.临时码)"));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.integer(q_("n")), 0) << "an article line is the sum of its size lines";
    }
    // Only today's sales moved stock: every article holds what its receipts
    // brought in less what today's sale lines took (the history moves nothing).
    {
        std::map<qint64, Money> expected;
        Query q(db);
        q.exec(q_("select 商品编码, sum(数量) as n from 出库入库明细表 group by 商品编码"));
        while (q.next()) expected[q.integer(q_("商品编码"))] += q.money(q_("n"));
        q.prepare(q_("select b.商品编码, sum(l.数量) as n from 销售明细表 l join 商品条码表 b on b.商品条码=l.条形码 "
                     "where l.日期时间>=:today group by b.商品编码"));
        q.bind(q_("today"), opt.now.date()).exec();
        int soldToday = 0;
        while (q.next()) {
            expected[q.integer(q_("商品编码"))] -= q.money(q_("n"));
            ++soldToday;
        }
        EXPECT_GT(soldToday, 0);
        for (const auto &[id, n] : listed) {
            const Money e = expected.count(id) ? expected.at(id) : Money();
            EXPECT_EQ(n, e) << "article " << id;
        }
    }

    // Member card numbers are unique and every card on a sale belongs to a member.
    {
        Query q(db);
        q.exec(q_("select count(*) as n, count(distinct 手工编码) as d from 零售会员"));
        ASSERT_TRUE(q.next());
        EXPECT_GT(q.integer(q_("n")), 0);
        EXPECT_EQ(q.integer(q_("n")), q.integer(q_("d")));
        q.exec(q_("select count(*) as n from 销售总表 where 会员卡号<>'' and 会员卡号 not in (select 手工编码 from 零售会员)"));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.integer(q_("n")), 0);
    }
}

TEST_P(DemoShopOnEngines, SameSeedSameShopAndNoSecondFill)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop a(GetParam());
    DemoShop(a.db(), smallShop(3)).generate();
    const QStringList goods = dump(a.db(), q_("商品列表"), q_("id"));
    const QStringList lines = dump(a.db(), q_("销售明细表"), q_("编号"));
    const QStringList stock = dump(a.db(), q_("库存尺码表"), q_("id"));

    // A shop that already has goods is never mixed with demo data.
    EXPECT_THROW(DemoShop(a.db(), smallShop(3)).generate(), DbError);
    EXPECT_EQ(dump(a.db(), q_("商品列表"), q_("id")), goods);

    TestShop b(GetParam());
    DemoShop(b.db(), smallShop(3)).generate();
    EXPECT_EQ(dump(b.db(), q_("商品列表"), q_("id")), goods);
    EXPECT_EQ(dump(b.db(), q_("销售明细表"), q_("编号")), lines);
    EXPECT_EQ(dump(b.db(), q_("库存尺码表"), q_("id")), stock);

    TestShop c(GetParam());
    DemoShop(c.db(), smallShop(4)).generate();
    EXPECT_NE(dump(c.db(), q_("销售明细表"), q_("编号")), lines);
}

INSTANTIATE_TEST_SUITE_P(Engines, DemoShopOnEngines, ::testing::ValuesIn(testEngines()), EngineParamName());
