#include "app/Session.h"
#include "masterdata/LabelPrinter.h"
#include "masterdata/ui/Utiaoma_guanli.h"
#include "support/Harness.h"
#include "support/TestShop.h"
#include "test_barcode_fixture.h"
#include "ui/RecordList.h"
#include "ui/WindowRegistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using namespace barcodefixture;

namespace {

// A small shop like the demo: several articles in both layouts, Chinese names,
// sizes and colours, and two articles whose barcodes coincide.
void fillDemoLikeShop(Database &db)
{
    addSizes(db, QStringLiteral("女装"), {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")});
    addSizes(db, QStringLiteral("裤装"), {QStringLiteral("28"), QStringLiteral("30")});
    addColours(db, QStringLiteral("常用色"), {QStringLiteral("黑色"), QStringLiteral("白色"), QStringLiteral("藏青")});
    const qint64 dress = addArticle(db, QStringLiteral("碎花连衣裙"), QStringLiteral("LYQ2026"), QStringLiteral("女装"),
                                    QStringLiteral("常用色"), QStringLiteral("货号+颜色+尺码"), QStringLiteral("268"));
    setCodes(db, dress, {{QStringLiteral("S"), QStringLiteral("01")}, {QStringLiteral("M"), QStringLiteral("02")}, {QStringLiteral("L"), QStringLiteral("03")}},
             {{QStringLiteral("黑色"), QStringLiteral("BK")}, {QStringLiteral("白色"), QStringLiteral("WH")}, {QStringLiteral("藏青"), QString()}});
    const qint64 jeans = addArticle(db, QStringLiteral("修身牛仔裤（加长款）"), QStringLiteral("NZK-88"), QStringLiteral("裤装"),
                                    QStringLiteral("常用色"), QStringLiteral("货号+尺码+颜色"), QStringLiteral("199.9"));
    setCodes(db, jeans, {{QStringLiteral("28"), QStringLiteral("28")}, {QStringLiteral("30"), QStringLiteral("30")}},
             {{QStringLiteral("藏青"), QStringLiteral("9")}});
    // The same 货号 and codes twice: the same barcode on two labels.
    for (const char16_t *name : {u"纯棉短袖T恤", u"纯棉短袖T恤（新款）"}) {
        const qint64 tee = addArticle(db, QString::fromUtf16(name), QStringLiteral("T100"), QStringLiteral("女装"),
                                      QStringLiteral("常用色"), QString(), QStringLiteral("79"));
        setCodes(db, tee, {{QStringLiteral("M"), QStringLiteral("2")}}, {{QStringLiteral("白色"), QStringLiteral("1")}});
    }
}

QStringList run(const QString &program, const QStringList &args, int *exitCode = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
        ADD_FAILURE() << program.toStdString() << " did not finish";
        return {};
    }
    if (exitCode) *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// Renders the PDF at 300 dpi and decodes each page; one entry per page (the
// symbols found on it, joined by "|").
QStringList scanPages(const QString &pdf, const QString &dir)
{
    int rc = -1;
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"), pdf, dir + QStringLiteral("/page")}, &rc);
    EXPECT_EQ(rc, 0) << "pdftoppm failed";
    QStringList pages;
    const QStringList pngs = QDir(dir).entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name);
    for (const QString &png : pngs)
        pages << run(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), dir + u'/' + png}).join(u'|');
    return pages;
}

QStringList sorted(QStringList l)
{
    std::sort(l.begin(), l.end());
    return l;
}

} // namespace

TEST(LabelPdf, PrintedLabelsScanToExactlyTheListedBarcodes)
{
    TestShop shop;
    Harness h;
    fillDemoLikeShop(shop.db());
    auto *w = windowAs<TFtiaoma_guanli>(QStringLiteral("TFtiaoma_guanli"));
    ASSERT_TRUE(click(w, QStringLiteral("Button1")));
    ASSERT_TRUE(click(w, QStringLiteral("Button2")));
    const std::vector<LabelRow> rows = w->labelRows();
    QStringList listed;
    for (const LabelRow &r : rows) listed << r.value(QStringLiteral("商品条码"));
    ASSERT_EQ(listed.size(), 3 * 2 + 2 + 2);
    EXPECT_EQ(listed.count(QStringLiteral("T10012")), 2);
    EXPECT_EQ(rows.front().value(QStringLiteral("零售价格")), QStringLiteral("268.00"));

    QString notice, error;
    const auto tpl = LabelTemplate::forShop(&notice, &error);
    ASSERT_TRUE(tpl) << error.toStdString();
    EXPECT_EQ(tpl->size, QSizeF(40, 30));
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("labels.pdf"));
    ASSERT_TRUE(LabelPrinter(*tpl).writePdf(pdf, rows, &error)) << error.toStdString();

    const QStringList pages = scanPages(pdf, out.path());
    EXPECT_EQ(pages.size(), rows.size());   // one label per page
    EXPECT_EQ(sorted(pages), sorted(listed));
    EXPECT_EQ(run(QStringLiteral("pdfinfo"), {pdf}).filter(QStringLiteral("Page size")).value(0).simplified(),
              QStringLiteral("Page size: 113 x 85 pts"));   // 40 x 30 mm in whole points
}

TEST(LabelPdf, TemplateChoosesTheSymbology)
{
    const QByteArray json = R"({ "width": 30, "height": 30, "objects": [
        { "type": "text", "x": 1, "y": 1, "w": 28, "h": 4, "text": "[商品名称] [尺码]" },
        { "type": "barcode", "x": 3, "y": 6, "w": 24, "h": 22, "field": "商品条码", "symbology": "qrcode", "show_text": false } ] })";
    QString error;
    const auto tpl = LabelTemplate::parse(json, &error);
    ASSERT_TRUE(tpl) << error.toStdString();
    const std::vector<LabelRow> rows = {{{QStringLiteral("商品条码"), QStringLiteral("LYQ2026BK01")}, {QStringLiteral("商品名称"), QStringLiteral("连衣裙")}},
                                        {{QStringLiteral("商品条码"), QStringLiteral("NZK-88309")}}};
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("qr.pdf"));
    ASSERT_TRUE(LabelPrinter(*tpl).writePdf(pdf, rows, &error));
    EXPECT_EQ(scanPages(pdf, out.path()), (QStringList{QStringLiteral("LYQ2026BK01"), QStringLiteral("NZK-88309")}));
}

TEST(LabelTemplateFile, BadTemplatesAreRefusedWithTheReason)
{
    struct Case { const char *json; const char16_t *reason; };
    const Case cases[] = {
        {"{ \"width\": 40, ", u"不是有效的JSON"},
        {"{ \"width\": 0, \"height\": 30, \"objects\": [] }", u"标签的“width”必须是大于零的毫米数"},
        {"{ \"width\": 40, \"height\": 30, \"objects\": [] }", u"没有任何打印对象"},
        {"{ \"width\": 40, \"height\": 30, \"objects\": [ { \"type\": \"image\" } ] }", u"第1个对象的类型“image”不认识"},
        {"{ \"width\": 40, \"height\": 30, \"objects\": [ { \"type\": \"text\", \"x\": 1, \"y\": \"a\", \"w\": 5, \"h\": 5 } ] }",
         u"第1个对象的“y”必须是毫米数"},
    };
    for (const Case &c : cases) {
        QString error;
        EXPECT_FALSE(LabelTemplate::parse(c.json, &error)) << c.json;
        EXPECT_TRUE(error.contains(QString::fromUtf16(c.reason))) << error.toStdString();
    }
    EXPECT_EQ(LabelPrinter::fill(QStringLiteral("颜色：[颜色] 尺码：[尺码] [未知]"),
                                 {{QStringLiteral("颜色"), QStringLiteral("黑色")}, {QStringLiteral("尺码"), QStringLiteral("M")}}),
              QStringLiteral("颜色：黑色 尺码：M [未知]"));
}

TEST(LabelTemplateFile, ShopTemplateComesFirstAndAMissingOneFallsBackToTheDefault)
{
    TestShop shop;
    QString notice, error;
    auto tpl = LabelTemplate::forShop(&notice, &error);
    ASSERT_TRUE(tpl) << error.toStdString();
    EXPECT_FALSE(notice.isEmpty());
    QFile f(shop.file(LabelTemplate::fileName()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(R"({ "width": 50, "height": 25, "objects": [ { "type": "barcode", "x": 1, "y": 1, "w": 48, "h": 20 } ] })");
    f.close();
    notice.clear();
    tpl = LabelTemplate::forShop(&notice, &error);
    ASSERT_TRUE(tpl) << error.toStdString();
    EXPECT_TRUE(notice.isEmpty());
    EXPECT_EQ(tpl->size, QSizeF(50, 25));
    EXPECT_EQ(tpl->objects.at(0).field, QStringLiteral("商品条码"));

    // Neither the shop's nor the program's template: nothing to print with.
    QFile::remove(shop.file(LabelTemplate::fileName()));
    paths().programDir = shop.dir();
    EXPECT_FALSE(LabelTemplate::forShop(&notice, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("找不到条码标签模板"))) << error.toStdString();
}
