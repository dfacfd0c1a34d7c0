#include "masterdata/LabelTemplate.h"

#include "app/Session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <zint.h>

namespace {

struct Symbology {
    const char *name;
    int number;
};

constexpr Symbology kSymbologies[] = {
    {"code128", BARCODE_CODE128}, {"code39", BARCODE_CODE39},   {"code93", BARCODE_CODE93},
    {"ean13", BARCODE_EANX},      {"ean8", BARCODE_EANX},       {"upca", BARCODE_UPCA},
    {"itf", BARCODE_C25INTER},    {"codabar", BARCODE_CODABAR}, {"qrcode", BARCODE_QRCODE},
    {"datamatrix", BARCODE_DATAMATRIX}, {"pdf417", BARCODE_PDF417},
};

// A length in millimetres: a positive number (zero allowed where noted).
bool readMm(const QJsonObject &o, const char *key, bool positive, double *out, QString *error, const QString &where)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isDouble() || v.toDouble() < 0 || (positive && v.toDouble() <= 0)) {
        *error = QStringLiteral("%1的“%2”必须是%3毫米数").arg(where, QLatin1String(key), positive ? QStringLiteral("大于零的") : QString());
        return false;
    }
    *out = v.toDouble();
    return true;
}

} // namespace

QString LabelTemplate::fileName() { return QStringLiteral("条码标签.json"); }

std::optional<int> LabelTemplate::symbologyByName(const QString &name)
{
    for (const Symbology &s : kSymbologies)
        if (name.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0) return s.number;
    return std::nullopt;
}

std::optional<LabelTemplate> LabelTemplate::parse(const QByteArray &json, QString *error)
{
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject()) {
        *error = QStringLiteral("不是有效的JSON（第%1个字符附近）").arg(pe.offset);
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    LabelTemplate t;
    double w = 0, h = 0;
    if (!readMm(root, "width", true, &w, error, QStringLiteral("标签")) || !readMm(root, "height", true, &h, error, QStringLiteral("标签")))
        return std::nullopt;
    t.size = QSizeF(w, h);
    t.font = root.value(QStringLiteral("font")).toString();
    const QJsonArray objects = root.value(QStringLiteral("objects")).toArray();
    if (objects.isEmpty()) {
        *error = QStringLiteral("没有任何打印对象（objects）");
        return std::nullopt;
    }
    for (int i = 0; i < objects.size(); ++i) {
        const QJsonObject o = objects[i].toObject();
        const QString where = QStringLiteral("第%1个对象").arg(i + 1);
        LabelObject obj;
        const QString type = o.value(QStringLiteral("type")).toString();
        if (type == QStringLiteral("text")) {
            obj.kind = LabelObject::Kind::Text;
            obj.text = o.value(QStringLiteral("text")).toString();
        } else if (type == QStringLiteral("barcode")) {
            obj.kind = LabelObject::Kind::Barcode;
            obj.field = o.value(QStringLiteral("field")).toString(QStringLiteral("商品条码"));
            const QJsonValue s = o.value(QStringLiteral("symbology"));
            if (s.isDouble()) {
                obj.symbology = s.toInt();
                if (!ZBarcode_ValidID(obj.symbology)) {
                    *error = QStringLiteral("%1的条码类型%2不存在").arg(where).arg(obj.symbology);
                    return std::nullopt;
                }
            } else {
                const auto n = symbologyByName(s.toString(QStringLiteral("code128")));
                if (!n) {
                    *error = QStringLiteral("%1的条码类型“%2”不认识").arg(where, s.toString());
                    return std::nullopt;
                }
                obj.symbology = *n;
            }
            obj.showText = o.value(QStringLiteral("show_text")).toBool(true);
        } else {
            *error = QStringLiteral("%1的类型“%2”不认识（应为text或barcode）").arg(where, type);
            return std::nullopt;
        }
        double x = 0, y = 0, ow = 0, oh = 0;
        if (!readMm(o, "x", false, &x, error, where) || !readMm(o, "y", false, &y, error, where)
            || !readMm(o, "w", true, &ow, error, where) || !readMm(o, "h", true, &oh, error, where))
            return std::nullopt;
        obj.rect = QRectF(x, y, ow, oh);
        obj.font = o.value(QStringLiteral("font")).toString();
        obj.size = o.value(QStringLiteral("size")).toDouble(obj.kind == LabelObject::Kind::Barcode ? 7 : 8);
        if (obj.size <= 0) {
            *error = QStringLiteral("%1的字号必须大于零").arg(where);
            return std::nullopt;
        }
        obj.bold = o.value(QStringLiteral("bold")).toBool(false);
        const QString align = o.value(QStringLiteral("align")).toString(QStringLiteral("left"));
        obj.align = align == QStringLiteral("center") ? Qt::AlignHCenter
                  : align == QStringLiteral("right") ? Qt::AlignRight : Qt::AlignLeft;
        t.objects.push_back(obj);
    }
    return t;
}

std::optional<LabelTemplate> LabelTemplate::load(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法读取条码标签模板：%1").arg(QDir::toNativeSeparators(path));
        return std::nullopt;
    }
    QString why;
    auto t = parse(f.readAll(), &why);
    if (!t) *error = QStringLiteral("条码标签模板%1有误：%2").arg(QDir::toNativeSeparators(path), why);
    return t;
}

std::optional<LabelTemplate> LabelTemplate::forShop(QString *notice, QString *error)
{
    const QString own = paths().shopFile(fileName());
    if (QFileInfo::exists(own)) return load(own, error);
    const QString shipped = paths().programFile(fileName());
    if (!QFileInfo::exists(shipped)) {
        *error = QStringLiteral("找不到条码标签模板：店铺文件夹和程序文件夹中都没有“%1”").arg(fileName());
        return std::nullopt;
    }
    *notice = QStringLiteral("店铺文件夹中没有条码标签模板“%1”，使用程序自带的默认标签。").arg(fileName());
    return load(shipped, error);
}
