#include "stock/SizeColourGrid.h"

#include "masterdata/Lookups.h"

SizeColourGrid::SizeColourGrid(QStringList sizes, QStringList colours)
    : sizes_(std::move(sizes)), colours_(std::move(colours))
{
    cells_ = QStringList(sizes_.size() * colours_.size(), QString());
}

SizeColourGrid SizeColourGrid::forArticle(Database &db, qint64 article)
{
    Query q(db);
    q.prepare(QStringLiteral("select 尺码规则,颜色组 from 商品列表 where id=:id"));
    q.bind(QStringLiteral("id"), article).exec();
    if (!q.next()) return {};
    const QString rule = q.text(QStringLiteral("尺码规则"));
    const QString group = q.text(QStringLiteral("颜色组"));
    return SizeColourGrid(SizesOfRule(db, rule), ColoursOfGroup(db, group));
}

QString SizeColourGrid::cell(int size, int colour) const
{
    return valid(size, colour) ? cells_[at(size, colour)] : QString();
}

void SizeColourGrid::setCell(int size, int colour, const QString &text)
{
    if (valid(size, colour)) cells_[at(size, colour)] = text;
}

void SizeColourGrid::clearCells()
{
    for (QString &c : cells_) c.clear();
}

bool SizeColourGrid::place(const QString &size, const QString &colour, const QString &text)
{
    const int s = int(sizes_.indexOf(size));
    const int c = int(colours_.indexOf(colour));
    if (s < 0 || c < 0) return false;
    cells_[at(s, c)] = text;
    return true;
}

bool SizeColourGrid::place(const QString &size, const QString &colour, Money quantity)
{
    return place(size, colour, quantity.toString());
}

std::optional<Money> SizeColourGrid::quantity(int size, int colour) const
{
    if (!valid(size, colour)) return std::nullopt;
    const QString &text = cells_[at(size, colour)];
    if (text.trimmed().isEmpty()) return Money();
    return Money::parse(text);
}

std::optional<Money> SizeColourGrid::sizeTotal(int size) const
{
    if (size < 0 || size >= sizeCount()) return std::nullopt;
    Money sum;
    for (int c = 0; c < colourCount(); ++c) {
        const auto q = quantity(size, c);
        if (!q) return std::nullopt;
        sum += *q;
    }
    return sum;
}

std::optional<Money> SizeColourGrid::colourTotal(int colour) const
{
    if (colour < 0 || colour >= colourCount()) return std::nullopt;
    Money sum;
    for (int s = 0; s < sizeCount(); ++s) {
        const auto q = quantity(s, colour);
        if (!q) return std::nullopt;
        sum += *q;
    }
    return sum;
}

std::optional<Money> SizeColourGrid::total() const
{
    if (firstBadCell()) return std::nullopt;
    Money sum;
    for (int s = 0; s < sizeCount(); ++s)
        for (int c = 0; c < colourCount(); ++c) sum += *quantity(s, c);
    return sum;
}

std::optional<SizeColourGrid::BadCell> SizeColourGrid::firstBadCell() const
{
    for (int s = 0; s < sizeCount(); ++s)
        for (int c = 0; c < colourCount(); ++c)
            if (!quantity(s, c)) return BadCell{s, c, sizes_[s], colours_[c], cells_[at(s, c)]};
    return std::nullopt;
}

std::vector<SizeColourGrid::Entry> SizeColourGrid::filledCells() const
{
    std::vector<Entry> out;
    for (int s = 0; s < sizeCount(); ++s)
        for (int c = 0; c < colourCount(); ++c) {
            const QString &text = cells_[at(s, c)];
            if (text.isEmpty() || text == u"0") continue;
            out.push_back(Entry{s, c, sizes_[s], colours_[c], text});
        }
    return out;
}

namespace gridorder {

QString sizeTerms(const QString &rule, const QString &size)
{
    const QString match = QStringLiteral("from 商品尺码 qz where qz.尺码规则=%1 and qz.尺码=%2").arg(rule, size);
    return QStringLiteral("coalesce((select 0 %1 limit 1),1),"
                          "(select qz.排序编号 %1 order by qz.排序编号,qz.id limit 1),"
                          "(select qz.id %1 order by qz.排序编号,qz.id limit 1)")
        .arg(match);
}

QString colourTerms(const QString &group, const QString &colour)
{
    const QString match = QStringLiteral("from 颜色列表 qc where qc.颜色组=%1 and qc.颜色=%2").arg(group, colour);
    return QStringLiteral("coalesce((select 0 %1 limit 1),1),(select min(qc.id) %1)").arg(match);
}

} // namespace gridorder
