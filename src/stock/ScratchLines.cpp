#include "stock/ScratchLines.h"

#include "stock/Posting.h"

namespace {

// Reads one scratch row's values, naming the line in any complaint.
class Row {
public:
    Row(const Query &q, int line) : q_(q), line_(line) {}
    QString text(const char16_t *col) const { return q_.text(QString::fromUtf16(col)); }
    Money amount(const char16_t *col) const
    {
        return requireAmount(q_.value(QString::fromUtf16(col)), label(col));
    }
    qint64 whole(const char16_t *col) const
    {
        return requireWholeNumber(q_.value(QString::fromUtf16(col)), label(col));
    }
    // The article's id: stored as text in the scratch tables, never empty.
    qint64 article() const { return requireWholeNumber(q_.value(QStringLiteral("商品编码")), label(u"商品编码"), false); }
    qint64 key(const char16_t *col) const { return q_.integer(QString::fromUtf16(col)); }

private:
    QString label(const char16_t *col) const
    {
        return QStringLiteral("第%1行的%2").arg(line_).arg(QString::fromUtf16(col));
    }
    const Query &q_;
    int line_;
};

template <typename Line, typename Fill>
std::vector<Line> read(Database &temp, const QString &sql, Fill fill, const QString &entryKey = QString())
{
    Query q(temp);
    q.prepare(sql);
    if (!entryKey.isNull()) q.bind(QStringLiteral("临时码"), entryKey);
    q.exec();
    std::vector<Line> out;
    while (q.next()) {
        Row r(q, int(out.size()) + 1);
        Line l;
        fill(r, l);
        out.push_back(std::move(l));
    }
    return out;
}

} // namespace

namespace scratch {

std::vector<StockInLine> stockInLines(Database &temp)
{
    return read<StockInLine>(temp, QStringLiteral("select * from 入库临时表 order by ID"), [](const Row &r, StockInLine &l) {
        l.rowId = r.key(u"ID");
        l.articleId = r.article();
        l.name = r.text(u"商品名称");
        l.articleNo = r.text(u"货号");
        l.entryKey = r.text(u"临时码");
        l.documentNumber = r.text(u"单据编号");
        l.unitPrice = r.amount(u"进货单价");
        l.amount = r.amount(u"金额");
        l.quantity = r.whole(u"数量");
    });
}

std::vector<StockInSizeLine> stockInSizeLines(Database &temp)
{
    return read<StockInSizeLine>(temp, QStringLiteral("select * from 入库尺码临时表 order by ID"),
                                 [](const Row &r, StockInSizeLine &l) {
        l.rowId = r.key(u"ID");
        l.articleId = r.article();
        l.size = r.text(u"尺码");
        l.colour = r.text(u"颜色");
        l.entryKey = r.text(u"临时码");
        l.articleNo = r.text(u"货号");
        l.name = r.text(u"商品名称");
        l.documentNumber = r.text(u"单据编号");
        l.barcode = r.text(u"商品条码");
        l.unitPrice = r.amount(u"单价");
        l.amount = r.amount(u"金额");
        l.quantity = r.whole(u"数量");
    });
}

std::vector<StockOutLine> stockOutLines(Database &temp)
{
    return read<StockOutLine>(temp, QStringLiteral("select * from 出库临时表 order by id"), [](const Row &r, StockOutLine &l) {
        l.rowId = r.key(u"id");
        l.articleId = r.article();
        l.name = r.text(u"商品名称");
        l.articleNo = r.text(u"货号");
        l.entryKey = r.text(u"临时码");
        l.quantity = r.amount(u"数量");
        l.unitPrice = r.amount(u"单价");
        l.amount = r.amount(u"金额");
    });
}

std::vector<StockOutSizeLine> stockOutSizeLines(Database &temp, const QString &entryKey)
{
    const QString sql = entryKey.isNull()
        ? QStringLiteral("select * from 出库尺码临时表 order by id")
        : QStringLiteral("select * from 出库尺码临时表 where 临时码=:临时码 order by id");
    return read<StockOutSizeLine>(temp, sql, [](const Row &r, StockOutSizeLine &l) {
        l.rowId = r.key(u"id");
        l.articleId = r.article();
        l.size = r.text(u"尺码");
        l.colour = r.text(u"颜色");
        l.entryKey = r.text(u"临时码");
        l.name = r.text(u"商品名称");
        l.category = r.text(u"商品类别");
        l.barcode = r.text(u"条形码");
        l.quantity = r.amount(u"数量");
    }, entryKey);
}

std::vector<CartLine> cartLines(Database &temp)
{
    return read<CartLine>(temp, QStringLiteral("select * from 销售临时表 order by id"), [](const Row &r, CartLine &l) {
        l.rowId = r.key(u"id");
        l.articleId = r.article();
        l.name = r.text(u"商品名称");
        l.articleNo = r.text(u"货号");
        l.category = r.text(u"商品类别");
        l.barcode = r.text(u"条形码");
        l.size = r.text(u"尺码");
        l.colour = r.text(u"颜色");
        l.unitPrice = r.amount(u"单价");
        l.discountRate = r.amount(u"折扣率");
        l.salePrice = r.amount(u"销售价");
        l.quantity = r.amount(u"数量");
        l.amount = r.amount(u"金额合计");
    });
}

std::vector<CountLine> countLines(Database &temp)
{
    return read<CountLine>(temp, QStringLiteral("select * from 库存盘点临时表 order by 编号"), [](const Row &r, CountLine &l) {
        l.rowId = r.key(u"编号");
        l.articleId = r.article();
        l.name = r.text(u"商品名称");
        l.barcode = r.text(u"商品条码");
        l.size = r.text(u"尺码");
        l.colour = r.text(u"颜色");
        l.articleNo = r.text(u"货号");
        l.note = r.text(u"备注");
        l.unitPrice = r.amount(u"单价");
        l.bookQuantity = r.amount(u"账面数");
        l.countedQuantity = r.amount(u"实盘数");
        l.difference = r.amount(u"差异数");
    });
}

} // namespace scratch
