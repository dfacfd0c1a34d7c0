#pragma once

#include "masterdata/LabelPrinter.h"

#include <QDialog>
#include <vector>

class QAction;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;
class RecordList;

// "条码管理": the article list, the barcode list, barcode generation and labels.
class TFtiaoma_guanli : public QDialog {
    Q_OBJECT
public:
    explicit TFtiaoma_guanli(QWidget *parent = nullptr);

    RecordList &ADOQuery1() { return *ADOQuery1_; }   // articles
    RecordList &ADOQuery2() { return *ADOQuery2_; }   // barcodes

    // Every row the barcode list shows, as label data (零售价格 with two decimals).
    std::vector<LabelRow> labelRows();

public Q_SLOTS:
    void Button1Click();                                // 查询
    void DBGridEh1CellClick(const QModelIndex &index);
    void Button5Click();                                // 返回全部
    void Button3Click();                                // 条码编辑
    void DBGridEh1DblClick(const QModelIndex &index);
    void Button2Click();                                // 自动生成条码标签
    void Button4Click();                                // 成批打印条码
    void N1Click();                                     // 打印单一条码

private:
    void showBarcodes(const QString &where = QString(), const QVariantMap &params = {});
    void printLabels();

    QLineEdit *Edit1;
    QPushButton *Button1, *Button2, *Button3, *Button4, *Button5;
    QTableView *DBGridEh1, *DBGridEh2;
    QAction *N1;
    RecordList *ADOQuery1_;
    RecordList *ADOQuery2_;
};
