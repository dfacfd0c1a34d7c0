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

// Articles are read in chunks: one statement per chunk for their rows, their
// size codes and their colour codes, and one to delete their old barcodes.
constexpr int kChunk = 64;

QString idList(int n)
{
    QStringList ids;
    for (int i = 0; i < n; ++i) ids << QStringLiteral(":id%1").arg(i);
    return ids.join(u',');
}

// Statements over a chunk of article ids. A short last chunk repeats its first
// id, which changes nothing in an "in" list.
class ChunkQuery {
public:
    ChunkQuery(Database &db, const QString &sql) : q_(db)
    {
        q_.prepare(QString(sql).replace(QStringLiteral("(:ids)"), u'(' + idList(kChunk) + u')'));
        for (int i = 0; i < kChunk; ++i) names_ << QStringLiteral("id%1").arg(i);
    }
    Query &run(const qint64 *ids, int n)
    {
        for (int i = 0; i < kChunk; ++i) q_.bind(names_[i], ids[i < n ? i : 0]);
        return q_.exec();
    }
private:
    Query q_;
    QStringList names_;
};

struct ArticleRow {
    QString articleNo, rule, group, format;
};

// The codes of each article by name (size or colour); the first stored row of a
// name counts.
using CodesByArticle = QHash<qint64, QHash<QString, QString>>;

// An article id as read back (a numeric column may come as "12" or "12.0000").
qint64 idOf(const QVariant &v)
{
    bool ok = false;
    const qint64 id = v.toLongLong(&ok);
    return ok ? id : qint64(v.toDouble());
}

CodesByArticle readCodes(Query &q)
{
    CodesByArticle codes;
    while (q.next()) {
        auto &own = codes[idOf(q.value(0))];
        const QString name = q.value(1).toString();
        if (!own.contains(name)) own.insert(name, q.value(2).toString());
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

    ChunkQuery erase(db_, QStringLiteral("delete from 商品条码表 where 商品编码 in (:ids)"));
    ChunkQuery articles(db_, QStringLiteral("select id,货号,尺码规则,颜色组,条码格式 from 商品列表 where id in (:ids)"));
    ChunkQuery sizeCodes(db_, QStringLiteral("select 商品编号,尺码,条码 from 尺码条码设置 where 商品编号 in (:ids) order by id"));
    ChunkQuery colourCodes(db_, QStringLiteral("select 商品编号,颜色,条码 from 颜色条码设置 where 商品编号 in (:ids) order by id"));
    BarcodeWriter writer(db_);

    // Many articles share a size rule or colour group: read each once.
    QHash<QString, QStringList> sizesOfRule, coloursOfGroup;
    const QHash<QString, QString> noCodes;

    const int total = int(articleIds.size());
    for (int start = 0; start < total; start += kChunk) {
        const int n = qMin(kChunk, total - start);
        const qint64 *ids = articleIds.data() + start;
        erase.run(ids, n);
        QHash<qint64, ArticleRow> rows;
        for (Query &q = articles.run(ids, n); q.next();)
            rows.insert(idOf(q.value(0)),
                        {q.value(1).toString(), q.value(2).toString(), q.value(3).toString(), q.value(4).toString()});
        const CodesByArticle sizeCode = readCodes(sizeCodes.run(ids, n));
        const CodesByArticle colourCode = readCodes(colourCodes.run(ids, n));

        for (int k = 0; k < n; ++k) {
            const qint64 id = ids[k];
            const auto row = rows.constFind(id);
            if (row != rows.constEnd()) {
                auto sizes = sizesOfRule.constFind(row->rule);
                if (sizes == sizesOfRule.constEnd()) sizes = sizesOfRule.insert(row->rule, SizesOfRule(db_, row->rule));
                auto colours = coloursOfGroup.constFind(row->group);
                if (colours == coloursOfGroup.constEnd())
                    colours = coloursOfGroup.insert(row->group, ColoursOfGroup(db_, row->group));
                const auto sc = sizeCode.constFind(id);
                const auto cc = colourCode.constFind(id);
                const QHash<QString, QString> &sizeCodesOf = sc == sizeCode.constEnd() ? noCodes : *sc;
                const QHash<QString, QString> &colourCodesOf = cc == colourCode.constEnd() ? noCodes : *cc;
                for (const QString &size : *sizes) {
                    const QString s = sizeCodesOf.value(size);
                    if (s.isEmpty()) continue;
                    for (const QString &colour : *colours) {
                        const QString c = colourCodesOf.value(colour);
                        if (c.isEmpty()) continue;
                        writer.add({id, row->articleNo, colour, size, compose(row->format, row->articleNo, s, c)});
                    }
                }
                ++result.articles;
            }
            if (progress && !progress(start + k + 1, total)) {
                result.cancelled = true;
                return result;   // the guard rolls everything back
            }
        }
    }
    writer.flush();
    tx.commit();
    result.barcodes = writer.written();
    return result;
}
