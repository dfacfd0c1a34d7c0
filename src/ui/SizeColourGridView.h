#pragma once

#include "stock/SizeColourGrid.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

// Shows a SizeColourGrid the way the shop reads it: row 0 holds the sizes, column
// 0 the colours, cell (0,0) an optional corner text ("颜色/尺码" in the entry
// windows); when the grid has cells, a last column and a last row "合计" hold the
// totals per colour, per size and overall. Header and total cells are read-only;
// data cells are editable unless the model is read-only.
class SizeColourGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SizeColourGridModel(QObject *parent = nullptr);

    void setGrid(SizeColourGrid grid);
    const SizeColourGrid &grid() const { return grid_; }
    void setCornerText(const QString &text);
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }

    // The model index of a data cell, and back.
    QModelIndex cellIndex(int size, int colour) const;
    bool isDataCell(const QModelIndex &index) const;
    bool hasTotals() const { return !grid_.hasNoCells(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

Q_SIGNALS:
    // A data cell was changed through the model (typing).
    void cellEdited(int size, int colour);

private:
    SizeColourGrid grid_;
    QString corner_;
    bool readOnly_ = false;
};

// The in-place cell editor: a line edit over the cell holding its text. Every key
// press writes the editor's text into the cell (the totals follow as one types);
// Enter commits and closes; Escape puts back the text the cell had when editing
// began; the arrow keys commit and ask the view to move one cell, where the editor
// opens again.
class SizeColourGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

Q_SIGNALS:
    void moveRequested(int key);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;
};

// The grid widget: one view, its model and its delegate. Typing in a data cell
// starts editing it; the arrow keys move one data cell (the editor follows when
// editing); the current cell never leaves the data cells.
class SizeColourGridView : public QTableView {
    Q_OBJECT
public:
    explicit SizeColourGridView(QWidget *parent = nullptr);

    // Shows the grid; the current cell becomes the first data cell.
    void setGrid(const SizeColourGrid &grid);
    const SizeColourGrid &grid() const { return model_->grid(); }
    void setCornerText(const QString &text);
    // Read-only: shown, never edited (stock breakdowns).
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return model_->isReadOnly(); }
    SizeColourGridModel *gridModel() const { return model_; }

    QSize sizeHint() const override;

Q_SIGNALS:
    // After a data cell was changed by the user.
    void gridEdited();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void step(int key);
    void fitColumns();

    SizeColourGridModel *model_;
    SizeColourGridDelegate *delegate_;
};
