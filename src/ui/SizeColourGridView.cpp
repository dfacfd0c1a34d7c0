#include "ui/SizeColourGridView.h"

#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>

namespace {

const QString kTotal = QStringLiteral("合计");
const char *const kOriginalText = "qv_original_text";

QString totalText(const std::optional<Money> &m) { return m ? m->toString() : QString(); }

} // namespace

// ------------------------------------------------------------------- model

SizeColourGridModel::SizeColourGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void SizeColourGridModel::setGrid(SizeColourGrid grid)
{
    beginResetModel();
    grid_ = std::move(grid);
    endResetModel();
}

void SizeColourGridModel::setCornerText(const QString &text)
{
    corner_ = text;
    Q_EMIT dataChanged(index(0, 0), index(0, 0));
}

void SizeColourGridModel::setReadOnly(bool readOnly)
{
    beginResetModel();   // the flags change
    readOnly_ = readOnly;
    endResetModel();
}

QModelIndex SizeColourGridModel::cellIndex(int size, int colour) const
{
    if (size < 0 || colour < 0 || size >= grid_.sizeCount() || colour >= grid_.colourCount()) return {};
    return index(colour + 1, size + 1);
}

bool SizeColourGridModel::isDataCell(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && index.row() >= 1 && index.column() >= 1
           && index.row() <= grid_.colourCount() && index.column() <= grid_.sizeCount();
}

int SizeColourGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1 + grid_.colourCount() + (hasTotals() ? 1 : 0);
}

int SizeColourGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1 + grid_.sizeCount() + (hasTotals() ? 1 : 0);
}

QVariant SizeColourGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid()) return {};
    const int r = index.row(), c = index.column();
    const int n = grid_.sizeCount(), m = grid_.colourCount();
    const bool totalRow = hasTotals() && r == m + 1;
    const bool totalColumn = hasTotals() && c == n + 1;
    const bool header = r == 0 || c == 0;
    const bool data = isDataCell(index);

    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (r == 0 && c == 0) return corner_;
        if (r == 0) return totalColumn ? kTotal : grid_.sizes().value(c - 1);
        if (c == 0) return totalRow ? kTotal : grid_.colours().value(r - 1);
        if (totalRow && totalColumn) return totalText(grid_.total());
        if (totalRow) return totalText(grid_.sizeTotal(c - 1));
        if (totalColumn) return totalText(grid_.colourTotal(r - 1));
        return grid_.cell(c - 1, r - 1);
    case Qt::TextAlignmentRole:
        if (header) return QVariant(Qt::AlignCenter);
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (header || totalRow || totalColumn) return QApplication::palette().button();
        if (data && !grid_.quantity(c - 1, r - 1)) return QBrush(QColor(0xff, 0xd6, 0xd6));
        return {};
    case Qt::ForegroundRole:
        if (header || totalRow || totalColumn) return QApplication::palette().buttonText();
        return {};
    case Qt::FontRole:
        if (totalRow || totalColumn) {
            QFont f = QApplication::font();
            f.setBold(true);
            return f;
        }
        return {};
    case Qt::ToolTipRole:
        if (data && !grid_.quantity(c - 1, r - 1)) return QStringLiteral("不是数字");
        if ((totalRow || totalColumn) && !header && this->data(index, Qt::DisplayRole).toString().isEmpty())
            return QStringLiteral("有不是数字的数量，无法合计");
        return {};
    default:
        return {};
    }
}

bool SizeColourGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || readOnly_ || !isDataCell(index)) return false;
    const int size = index.column() - 1, colour = index.row() - 1;
    const QString text = value.toString();
    if (grid_.cell(size, colour) == text) return true;
    grid_.setCell(size, colour, text);
    const int n = grid_.sizeCount(), m = grid_.colourCount();
    Q_EMIT dataChanged(index, index);
    Q_EMIT dataChanged(this->index(index.row(), n + 1), this->index(index.row(), n + 1));   // colour total
    Q_EMIT dataChanged(this->index(m + 1, index.column()), this->index(m + 1, n + 1));     // size and grand total
    Q_EMIT cellEdited(size, colour);
    return true;
}

Qt::ItemFlags SizeColourGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    if (!isDataCell(index)) return Qt::ItemIsEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!readOnly_) f |= Qt::ItemIsEditable;
    return f;
}

// ---------------------------------------------------------------- delegate

QWidget *SizeColourGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("CellEditor"));
    editor->setFrame(false);
    editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Each key press lands in the cell at once, so the totals follow the typing.
    connect(editor, &QLineEdit::textEdited, this, [this, editor] {
        Q_EMIT const_cast<SizeColourGridDelegate *>(this)->commitData(editor);
    });
    return editor;
}

void SizeColourGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *e = static_cast<QLineEdit *>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    // The cell changes under the editor as one types: that is the editor's own
    // text coming back, not a reason to start over.
    if (e->property(kOriginalText).isValid() && e->text() == text) return;
    e->setText(text);
    e->setProperty(kOriginalText, text);
    e->selectAll();   // typing replaces what the cell held
}

void SizeColourGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    model->setData(index, static_cast<QLineEdit *>(editor)->text(), Qt::EditRole);
}

bool SizeColourGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QLineEdit *>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (mods != Qt::NoModifier) break;
            Q_EMIT commitData(editor);
            Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
            Q_EMIT moveRequested(key->key());
            return true;
        case Qt::Key_Escape:
            editor->setText(editor->property(kOriginalText).toString());
            Q_EMIT commitData(editor);
            Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
            return true;
        default:
            break;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

// -------------------------------------------------------------------- view

SizeColourGridView::SizeColourGridView(QWidget *parent)
    : QTableView(parent), model_(new SizeColourGridModel(this)), delegate_(new SizeColourGridDelegate(this))
{
    setModel(model_);
    setItemDelegate(delegate_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                    | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setTabKeyNavigation(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 10);
    horizontalHeader()->setMinimumSectionSize(40);
    connect(delegate_, &SizeColourGridDelegate::moveRequested, this, &SizeColourGridView::step);
    connect(model_, &SizeColourGridModel::cellEdited, this, &SizeColourGridView::gridEdited);
    connect(model_, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &tl) {
        // A total may grow wider than its column.
        if (model_->hasTotals() && tl.isValid()) resizeColumnToContents(model_->columnCount() - 1);
    });
}

void SizeColourGridView::setGrid(const SizeColourGrid &grid)
{
    model_->setGrid(grid);
    fitColumns();
    const QModelIndex first = model_->cellIndex(0, 0);
    if (first.isValid()) setCurrentIndex(first);
    updateGeometry();
}

void SizeColourGridView::setCornerText(const QString &text)
{
    model_->setCornerText(text);
    fitColumns();
}

void SizeColourGridView::setReadOnly(bool readOnly)
{
    model_->setReadOnly(readOnly);
    // A grid that is only read has no cell of its own to mark.
    setSelectionMode(readOnly ? QAbstractItemView::NoSelection : QAbstractItemView::SingleSelection);
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                                   | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    const QModelIndex first = model_->cellIndex(0, 0);
    if (first.isValid()) setCurrentIndex(first);
}

void SizeColourGridView::fitColumns()
{
    resizeColumnsToContents();
    // The size columns share one width, so the grid reads as a table of equals.
    int widest = 0;
    for (int c = 1; c <= model_->grid().sizeCount(); ++c) widest = qMax(widest, columnWidth(c));
    for (int c = 1; c <= model_->grid().sizeCount(); ++c) setColumnWidth(c, widest);
}

QSize SizeColourGridView::sizeHint() const
{
    // Room for the whole grid when it is small; scroll bars beyond that.
    int w = 2 * frameWidth(), h = 2 * frameWidth();
    for (int c = 0; c < model_->columnCount(); ++c) w += columnWidth(c);
    for (int r = 0; r < model_->rowCount(); ++r) h += rowHeight(r);
    return QSize(qMin(w, 900), qMin(h, 600)).expandedTo(QSize(120, 60));
}

QModelIndex SizeColourGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int n = model_->grid().sizeCount(), m = model_->grid().colourCount();
    if (n == 0 || m == 0) return {};
    const QModelIndex cur = currentIndex();
    if (!model_->isDataCell(cur)) return model_->cellIndex(0, 0);
    int size = cur.column() - 1, colour = cur.row() - 1;
    switch (action) {
    case MoveUp: --colour; break;
    case MoveDown: ++colour; break;
    case MoveLeft: --size; break;
    case MoveRight: ++size; break;
    case MoveHome: size = 0; break;
    case MoveEnd: size = n - 1; break;
    case MovePageUp: colour = 0; break;
    case MovePageDown: colour = m - 1; break;
    case MoveNext:
        if (++size >= n) { size = 0; colour = (colour + 1) % m; }
        break;
    case MovePrevious:
        if (--size < 0) { size = n - 1; colour = (colour + m - 1) % m; }
        break;
    }
    // The current cell stays among the data cells: at an edge it does not move.
    return model_->cellIndex(qBound(0, size, n - 1), qBound(0, colour, m - 1));
}

void SizeColourGridView::step(int key)
{
    CursorAction action = MoveRight;
    switch (key) {
    case Qt::Key_Up: action = MoveUp; break;
    case Qt::Key_Down: action = MoveDown; break;
    case Qt::Key_Left: action = MoveLeft; break;
    default: action = MoveRight; break;
    }
    const QModelIndex next = moveCursor(action, Qt::NoModifier);
    if (!next.isValid()) return;
    setCurrentIndex(next);
    edit(next, QAbstractItemView::AllEditTriggers, nullptr);
}

void SizeColourGridView::mousePressEvent(QMouseEvent *event)
{
    // Header and total cells are not cells one works in.
    if (!model_->isDataCell(indexAt(event->position().toPoint()))) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}
