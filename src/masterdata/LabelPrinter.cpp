#include "masterdata/LabelPrinter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <cmath>
#include <memory>
#include <zint.h>

namespace {

struct SymbolDeleter {
    void operator()(zint_symbol *s) const { ZBarcode_Delete(s); }
};

QFont fontFor(const LabelTemplate &t, const LabelObject &o)
{
    QFont f(o.font.isEmpty() ? (t.font.isEmpty() ? QStringLiteral("WenQuanYi Micro Hei") : t.font) : o.font);
    f.setPointSizeF(o.size);
    f.setBold(o.bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

} // namespace

QString LabelPrinter::fill(const QString &text, const LabelRow &row)
{
    static const QRegularExpression field(QStringLiteral("\\[([^\\[\\]]+)\\]"));
    QString out;
    qsizetype last = 0;
    for (auto it = field.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        // An unknown name stays as written, so a misspelt field shows on the label.
        out += row.contains(name) ? row.value(name) : m.captured(0);
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

void LabelPrinter::setUpPage(QPagedPaintDevice &device) const
{
    const QPageSize size(template_.size, QPageSize::Millimeter, QStringLiteral("条码标签"), QPageSize::ExactMatch);
    device.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

bool LabelPrinter::print(QPagedPaintDevice &device, const std::vector<LabelRow> &rows) const
{
    setUpPage(device);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) device.newPage();
        paintLabel(painter, rows[i]);
    }
    painter.end();
    return true;
}

bool LabelPrinter::writePdf(const QString &path, const std::vector<LabelRow> &rows, QString *error) const
{
    QPdfWriter pdf(path);
    pdf.setResolution(1200);
    pdf.setTitle(QStringLiteral("条码标签"));
    pdf.setCreator(QStringLiteral("Quenvar"));
    if (!print(pdf, rows)) {
        *error = QStringLiteral("无法写入文件：%1").arg(path);
        return false;
    }
    return true;
}

void LabelPrinter::paintLabel(QPainter &painter, const LabelRow &row) const
{
    const double dotsPerMm = painter.device()->logicalDpiX() / 25.4;
    painter.save();
    for (const LabelObject &o : template_.objects) {
        const QRectF area(o.rect.x() * dotsPerMm, o.rect.y() * dotsPerMm, o.rect.width() * dotsPerMm,
                          o.rect.height() * dotsPerMm);
        if (o.kind == LabelObject::Kind::Barcode) {
            paintBarcode(painter, o, area, row.value(o.field));
            continue;
        }
        painter.setFont(fontFor(template_, o));
        painter.setPen(Qt::black);
        const QString text = painter.fontMetrics().elidedText(fill(o.text, row), Qt::ElideRight, int(area.width()));
        painter.drawText(area, int(o.align | Qt::AlignVCenter | Qt::TextSingleLine), text);
    }
    painter.restore();
}

void LabelPrinter::paintBarcode(QPainter &painter, const LabelObject &o, const QRectF &area, const QString &data) const
{
    if (data.isEmpty()) return;
    QFont font = fontFor(template_, o);
    painter.setFont(font);
    const double textHeight = o.showText ? QFontMetricsF(font, painter.device()).height() : 0;

    std::unique_ptr<zint_symbol, SymbolDeleter> sym(ZBarcode_Create());
    sym->symbology = o.symbology;
    sym->input_mode = UNICODE_MODE;
    sym->show_hrt = 0;   // the text is drawn below with the label's font
    sym->output_options |= BARCODE_QUIET_ZONES;
    const QByteArray utf8 = data.toUtf8();
    const int rc = ZBarcode_Encode_and_Buffer_Vector(sym.get(), reinterpret_cast<const unsigned char *>(utf8.constData()),
                                                     int(utf8.size()), 0);
    if (rc >= ZINT_ERROR || !sym->vector) {
        // Not encodable in this symbology (e.g. Chinese in Code 128): say so on the label.
        painter.setPen(Qt::black);
        painter.drawRect(area);
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, QStringLiteral("无法生成条码：%1").arg(data));
        return;
    }
    const zint_vector *v = sym->vector;
    // zint's vector units: two per module at scale 1.
    const double unitsPerModule = 2.0 * (sym->scale > 0 ? sym->scale : 1.0);
    const double modulesWide = v->width / unitsPerModule;
    const bool matrix = sym->rows > 1;   // 2D and stacked symbols keep their aspect
    const QRectF bars(area.x(), area.y(), area.width(), qMax(area.height() - textHeight, area.height() / 3));

    // Whole dots per module where there is room, so bars stay even on a printer.
    double moduleDots = bars.width() / modulesWide;
    if (matrix) moduleDots = qMin(moduleDots, bars.height() / (v->height / unitsPerModule));
    if (moduleDots >= 1.0) moduleDots = std::floor(moduleDots);
    const double sx = moduleDots / unitsPerModule;
    const double sy = matrix ? sx : bars.height() / v->height;
    const double width = v->width * sx;
    const double height = v->height * sy;
    const QPointF origin(bars.x() + (bars.width() - width) / 2, bars.y() + (matrix ? (bars.height() - height) / 2 : 0));

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    for (const zint_vector_rect *r = v->rectangles; r; r = r->next) {
        if (r->colour == 8) continue;   // white
        painter.fillRect(QRectF(origin.x() + r->x * sx, origin.y() + r->y * sy, r->width * sx, r->height * sy), Qt::black);
    }
    painter.restore();
    if (o.showText) {
        painter.setPen(Qt::black);
        const QRectF textArea(area.x(), origin.y() + height, area.width(), textHeight);
        painter.drawText(textArea, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, data);
    }
}
