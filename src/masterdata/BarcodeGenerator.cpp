#include "masterdata/BarcodeGenerator.h"

#include "masterdata/Lookups.h"

#include <QHash>

#include <array>
#include <memory>

namespace {

// Rows per multi-row insert: fewer round trips to a server and fewer statement
// runs on SQLite, while binding by name stays cheap.
constexpr int kBatch = 16;

struct BarcodeRow {
    qint64 article;
    QString articleNo, colour, size, barcode;
};

QString insertStatement(int rows)
{
    QString sql = QStringLiteral("insert into 商品条码表 (商品编码,商品货号,颜色,尺码,商品条码) values ");
    for (int i = 0; i < rows; ++i) {
        if (i) sql += u',';
        sql += QStringLiteral("(:商品编码%1,:商品货号%1,:颜色%1,:尺码%1,:商品条码%1)").arg(i);
    }
    return sql;
}

// Writes rows in the order they are added, kBatch at a time through one
// prepared statement; the remainder goes through a one-row statement.
class BarcodeWriter {
public:
    explicit BarcodeWriter(Database &db) : batch_(db), single_(db)
    {
        batch_.prepare(insertStatement(kBatch));
        single_.prepare(insertStatement(1));
        for (int i = 0; i < kBatch; ++i) {
            const QString n = QString::number(i);
            names_.push_back({QStringLiteral("商品编码") + n, QStringLiteral("商品货号") + n, QStringLiteral("颜色") + n,
                              QStringLiteral("尺码") + n, QStringLiteral("商品条码") + n});
        }
        pending_.reserve(kBatch);
    }

    void add(BarcodeRow row)
    {
        pending_.push_back(std::move(row));
        if (int(pending_.size()) == kBatch) flush();
    }

    void flush()
    {
        if (int(pending_.size()) == kBatch) {
            for (int i = 0; i < kBatch; ++i) bindRow(batch_, i, pending_[i]);
            batch_.exec();
        } else {
            for (const BarcodeRow &r : pending_) {
                bindRow(single_, 0, r);
                single_.exec();
            }
        }
        written_ += qint64(pending_.size());
        pending_.clear();
    }

    qint64 written() const { return written_; }

private:
    void bindRow(Query &q, int i, const BarcodeRow &r)
    {
        const auto &n = names_[i];
        q.bind(n[0], r.article).bind(n[1], r.articleNo).bind(n[2], r.colour).bind(n[3], r.size).bind(n[4], r.barcode);
    }

    Query batch_;
    Query single_;
    std::vector<std::array<QString, 5>> names_;
    std::vector<BarcodeRow> pending_;
    qint64 written_ = 0;
};

// The codes of one article by name (size or colour); the first stored row of a
// name counts.
QHash<QString, QString> codesOf(Query &q, qint64 article)
{
    q.bind(QStringLiteral("商品编号"), article).exec();
    QHash<QString, QString> codes;
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (!codes.contains(name)) codes.insert(name, q.value(1).toString());
    }
    return codes;
}

} // namespace

QString BarcodeGenerator::compose(const QString &format, const QString &articleNo, const QString &sizeCode,
                                  const QString &colourCode)
{
    if (sizeCode.isEmpty() || colourCode.isEmpty()) return QString();
    if (format == QStringLiteral("货号+尺码+颜色")) return articleNo + sizeCode + colourCode;
    return articleNo + colourCode + sizeCode;
}

BarcodeGenerator::Result BarcodeGenerator::generate(const std::vector<qint64> &articleIds, const Progress &progress)
{
    Result result;
    Transaction tx(db_);

    Query article(db_);
    article.prepare(QStringLiteral("select 货号,尺码规则,颜色组,条码格式 from 商品列表 where id=:id"));
    Query erase(db_);
    erase.prepare(QStringLiteral("delete from 商品条码表 where 商品编码=:商品编码"));
    Query sizeCodes(db_);
    sizeCodes.prepare(QStringLiteral("select 尺码,条码 from 尺码条码设置 where 商品编号=:商品编号 order by id"));
    Query colourCodes(db_);
    colourCodes.prepare(QStringLiteral("select 颜色,条码 from 颜色条码设置 where 商品编号=:商品编号 order by id"));
    BarcodeWriter writer(db_);

    // Many articles share a size rule or colour group: read each once.
    QHash<QString, QStringList> sizesOfRule, coloursOfGroup;

    const int total = int(articleIds.size());
    for (int done = 0; done < total; ++done) {
        const qint64 id = articleIds[size_t(done)];
        erase.bind(QStringLiteral("商品编码"), id).exec();
        article.bind(QStringLiteral("id"), id).exec();
        if (article.next()) {
            const QString articleNo = article.value(0).toString();
            const QString rule = article.value(1).toString();
            const QString group = article.value(2).toString();
            const QString format = article.value(3).toString();

            auto sizes = sizesOfRule.find(rule);
            if (sizes == sizesOfRule.end()) sizes = sizesOfRule.insert(rule, SizesOfRule(db_, rule));
            const QHash<QString, QString> sizeCode = codesOf(sizeCodes, id);
            QHash<QString, QString> colourCode;
            const QStringList *colours = nullptr;
            for (const QString &size : *sizes) {
                const QString sc = sizeCode.value(size);
                if (sc.isEmpty()) continue;
                if (!colours) {
                    auto c = coloursOfGroup.find(group);
                    if (c == coloursOfGroup.end()) c = coloursOfGroup.insert(group, ColoursOfGroup(db_, group));
                    colours = &*c;
                    colourCode = codesOf(colourCodes, id);
                }
                for (const QString &colour : *colours) {
                    const QString cc = colourCode.value(colour);
                    if (cc.isEmpty()) continue;
                    writer.add({id, articleNo, colour, size, compose(format, articleNo, sc, cc)});
                }
            }
            ++result.articles;
        }
        if (progress && !progress(done + 1, total)) {
            result.cancelled = true;
            return result;   // the guard rolls everything back
        }
    }
    writer.flush();
    tx.commit();
    result.barcodes = writer.written();
    return result;
}
