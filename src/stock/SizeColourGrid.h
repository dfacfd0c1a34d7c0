#pragma once

#include "app/Database.h"
#include "app/Money.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The quantities of one article by size and colour: one column per size of the
// article's size rule (in the rule's order), one row per colour of its colour
// group, a text cell where they meet. Every size-by-colour grid of the program
// (the main window's breakdown, quantity entry, stock shown before a stock-out)
// holds one of these; the widgets only show and edit it.
//
// Cells are addressed by (size index, colour index), both from 0. A cell holds
// text as typed: empty means nothing, anything else should read as a number.
class SizeColourGrid {
public:
    SizeColourGrid() = default;
    SizeColourGrid(QStringList sizes, QStringList colours);

    // The grid of an article: the sizes of its 尺码规则 (SizesOfRule) and the
    // colours of its 颜色组 (ColoursOfGroup), every cell empty. An article that does
    // not exist gives a grid without sizes and colours.
    static SizeColourGrid forArticle(Database &db, qint64 article);

    const QStringList &sizes() const { return sizes_; }
    const QStringList &colours() const { return colours_; }
    int sizeCount() const { return int(sizes_.size()); }
    int colourCount() const { return int(colours_.size()); }
    // True when the grid has no cell (no sizes or no colours).
    bool hasNoCells() const { return sizes_.isEmpty() || colours_.isEmpty(); }

    QString cell(int size, int colour) const;
    void setCell(int size, int colour, const QString &text);
    void clearCells();

    // Puts the text in the cell of the first column whose size equals `size` and the
    // first row whose colour equals `colour`, replacing what was there. A size or
    // colour that is not in the grid is not shown: returns false and changes nothing.
    bool place(const QString &size, const QString &colour, const QString &text);
    bool place(const QString &size, const QString &colour, Money quantity);

    // The quantity of a cell: empty reads as 0; text that is not a number gives
    // nothing.
    std::optional<Money> quantity(int size, int colour) const;

    // Totals. Nothing when a cell they cover is not a number (see firstBadCell).
    std::optional<Money> sizeTotal(int size) const;       // one column
    std::optional<Money> colourTotal(int colour) const;   // one row
    std::optional<Money> total() const;

    // A cell whose text is not a number.
    struct BadCell {
        int size = -1, colour = -1;
        QString sizeName, colourName, text;
    };
    // The first bad cell in the order lines are written: size by size (left to
    // right), colour by colour within a size (top to bottom).
    std::optional<BadCell> firstBadCell() const;

    // A filled cell in writing order.
    struct Entry {
        int size = -1, colour = -1;
        QString sizeName, colourName, text;
    };
    // The cells that hold something other than nothing or exactly "0", size by
    // size, colour by colour within a size.
    std::vector<Entry> filledCells() const;

    bool operator==(const SizeColourGrid &) const = default;

private:
    int at(int size, int colour) const { return colour * int(sizes_.size()) + size; }
    bool valid(int size, int colour) const
    {
        return size >= 0 && colour >= 0 && size < sizes_.size() && colour < colours_.size();
    }

    QStringList sizes_;
    QStringList colours_;
    QStringList cells_;   // row by row (colour), one text per size
};

// Sort terms that put stored rows (stock, barcodes) in the grid's order, for an
// ORDER BY clause on either engine: sizes as SizesOfRule gives them (a size that
// is not in the rule after those that are), colours as ColoursOfGroup gives them
// (likewise). The arguments are SQL expressions of the row: its article's size
// rule and its size label, or its article's colour group and its colour.
namespace gridorder {
QString sizeTerms(const QString &rule, const QString &size);
QString colourTerms(const QString &group, const QString &colour);
} // namespace gridorder
