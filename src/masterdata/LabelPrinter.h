#pragma once

#include "masterdata/LabelTemplate.h"

#include <QHash>
#include <QString>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// One label's data: column name -> text as printed (商品名称, 商品货号, 颜色, 尺码,
// 零售价格, 商品条码, ...).
using LabelRow = QHash<QString, QString>;

// Prints labels from a template: one label per page of the label's size, one
// label per row, in the rows' order. Barcodes are drawn as filled rectangles from
// zint's vector output, each module a whole number of device dots where the
// device allows, with the symbology's quiet zones kept free.
class LabelPrinter {
public:
    explicit LabelPrinter(LabelTemplate t) : template_(std::move(t)) {}

    const LabelTemplate &labelTemplate() const { return template_; }

    // Sets the device's page to the label size without margins.
    void setUpPage(QPagedPaintDevice &device) const;
    // Paints every row on its own page. Returns false when the device cannot be painted on.
    bool print(QPagedPaintDevice &device, const std::vector<LabelRow> &rows) const;
    // Writes the labels to a PDF file; false (with the reason) when it cannot.
    bool writePdf(const QString &path, const std::vector<LabelRow> &rows, QString *error) const;

    // Paints one label with its top-left corner at the painter's origin; the
    // painter's device resolution gives the scale.
    void paintLabel(QPainter &painter, const LabelRow &row) const;

    // The text of a text object for a row: every "[列名]" replaced by the column's text.
    static QString fill(const QString &text, const LabelRow &row);

private:
    void paintBarcode(QPainter &painter, const LabelObject &o, const QRectF &area, const QString &data) const;
    LabelTemplate template_;
};
