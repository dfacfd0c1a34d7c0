#pragma once

#include <QSizeF>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

// A label layout, stored as JSON in "条码标签.json": the label size and the objects
// printed on it, positions in millimetres from the label's top-left corner.
//
//   {
//     "width": 40, "height": 30, "font": "WenQuanYi Micro Hei",
//     "objects": [
//       { "type": "text", "x": 2, "y": 1.5, "w": 36, "h": 4, "text": "[商品名称]",
//         "size": 8, "bold": true, "align": "left" },
//       { "type": "barcode", "x": 1, "y": 16, "w": 38, "h": 13, "field": "商品条码",
//         "symbology": "code128", "show_text": true, "size": 7 }
//     ]
//   }
//
// A text object prints its text with every "[列名]" replaced by that column of the
// row (商品名称, 商品货号, 颜色, 尺码, 零售价格, 商品条码, 商品编码). A barcode object
// draws the field as a symbol of the given symbology (code128 when not given),
// optionally with the encoded text under it. Font sizes are in points.
struct LabelObject {
    enum class Kind { Text, Barcode };
    Kind kind = Kind::Text;
    QRectF rect;                 // millimetres
    QString text;                // text objects: the text with [列名] fields
    QString field;               // barcode objects: the column encoded
    int symbology = 0;           // zint symbology number
    bool showText = true;        // barcode objects: the encoded text under the bars
    QString font;                // empty: the label's font
    double size = 8;             // points
    bool bold = false;
    Qt::Alignment align = Qt::AlignLeft;
};

struct LabelTemplate {
    QSizeF size{40, 30};         // millimetres
    QString font;
    std::vector<LabelObject> objects;

    // The file name in the shop folder and beside the program.
    static QString fileName();
    // Reads a template file; on failure returns nothing and says why in error.
    static std::optional<LabelTemplate> load(const QString &path, QString *error);
    static std::optional<LabelTemplate> parse(const QByteArray &json, QString *error);

    // The template printing uses: the shop's own file, else the one installed with
    // the program. notice tells when the default was taken instead of the shop's;
    // error says why there is none to print with.
    static std::optional<LabelTemplate> forShop(QString *notice, QString *error);

    // Symbology names understood in templates ("code128", "ean13", "qrcode", ...).
    static std::optional<int> symbologyByName(const QString &name);
};
