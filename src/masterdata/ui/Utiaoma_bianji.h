#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "条码编辑": the colour codes and size codes of one article, edited in two
// two-row grids (names above, codes below) and stored as a whole by 确定.
class TFtiaoma_bianji : public QDialog {
    Q_OBJECT
public:
    explicit TFtiaoma_bianji(QWidget *parent = nullptr);

    // Handed over by the barcode window before the modal show.
    qint64 articleId = 0;
    QString articleNo;       // 货号
    QString articleName;     // 商品名称
    QString colourGroup;     // 颜色组
    QString sizeRule;        // 尺码规则

public Q_SLOTS:
    void FormShow();
    void StringGrid3SelectCell(int column, int row);
    void StringGrid1SelectCell(int column, int row);
    void Edit1Exit();
    void Edit2Exit();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openCellEdit(QTableWidget *grid, QLineEdit *edit, int column, int row);
    void closeCellEdit(QTableWidget *grid, QLineEdit *edit);
    void fillGrid(QTableWidget *grid, const QStringList &names, const QStringList &codes);

    QLabel *Label4, *Label5, *Label6;   // article id, name, 货号
    QTableWidget *StringGrid3;          // colours
    QTableWidget *StringGrid1;          // sizes
    QLineEdit *Edit1;                   // in-place edit over StringGrid3
    QLineEdit *Edit2;                   // in-place edit over StringGrid1
    QPushButton *Button1, *Button2;
    int editColumn1_ = -1, editColumn2_ = -1;
};
