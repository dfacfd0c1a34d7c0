#include "app/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

struct Loaded {
    QStringList lines;
    bool utf8 = false;
    bool bom = false;
    bool crlf = true;
    bool exists = false;
};

bool isValidUtf8(const QByteArray &b)
{
    // Invalid sequences are replaced on decoding, so only valid UTF-8 survives the
    // round trip unchanged.
    return QString::fromUtf8(b).toUtf8() == b;
}

Loaded load(const QString &path)
{
    Loaded r;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return r;
    r.exists = true;
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        r.utf8 = r.bom = true;
        bytes.remove(0, 3);
    } else {
        // Plain ASCII reads the same either way; anything else that is not valid
        // UTF-8 is taken as GBK.
        bool ascii = true;
        for (char c : bytes) if (static_cast<unsigned char>(c) >= 0x80) { ascii = false; break; }
        r.utf8 = !ascii && isValidUtf8(bytes);
    }
    r.crlf = bytes.contains("\r\n") || !bytes.contains('\n');
    QString text = r.utf8 ? QString::fromUtf8(bytes) : QStringDecoder("GBK").decode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    r.lines = text.split(u'\n');
    if (!r.lines.isEmpty() && r.lines.last().isEmpty()) r.lines.removeLast();
    return r;
}

bool isSectionLine(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[')) return false;
    const int close = t.indexOf(u']');
    if (close < 0) return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

bool isKeyLine(const QString &line, QString *key, QString *value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';')) return false;
    const int eq = t.indexOf(u'=');
    if (eq <= 0) return false;
    *key = t.left(eq).trimmed();
    if (value) {
        // Blanks after the value are part of it: a value is compared exactly
        // (kf.ini's "网络版 " is not "网络版").
        const int veq = line.indexOf(u'=');
        QString v = line.mid(veq + 1);
        while (!v.isEmpty() && v.front().isSpace()) v.remove(0, 1);
        while (v.endsWith(u'\r') || v.endsWith(u'\n')) v.chop(1);
        if (v.size() >= 2 && ((v.startsWith(u'"') && v.endsWith(u'"')) || (v.startsWith(u'\'') && v.endsWith(u'\''))))
            v = v.mid(1, v.size() - 2);
        *value = v;
    }
    return true;
}

bool same(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QString IniFile::read(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Loaded f = load(path_);
    bool inSection = false;
    for (const QString &line : f.lines) {
        QString name, k, v;
        if (isSectionLine(line, &name)) {
            inSection = same(name, section);
        } else if (inSection && isKeyLine(line, &k, &v) && same(k, key)) {
            return v;
        }
    }
    return defaultValue;
}

bool IniFile::write(const QString &section, const QString &key, const QString &value)
{
    Loaded f = load(path_);
    const QString entry = key + u'=' + value;
    int sectionStart = -1, lastInSection = -1;
    bool done = false;
    for (int i = 0; i < f.lines.size() && !done; ++i) {
        QString name, k;
        if (isSectionLine(f.lines[i], &name)) {
            if (sectionStart >= 0) break;          // left our section without the key
            if (same(name, section)) { sectionStart = i; lastInSection = i; }
        } else if (sectionStart >= 0) {
            if (isKeyLine(f.lines[i], &k, nullptr) && same(k, key)) {
                f.lines[i] = entry;
                done = true;
            } else if (!f.lines[i].trimmed().isEmpty()) {
                lastInSection = i;
            }
        }
    }
    if (!done) {
        if (sectionStart >= 0) {
            f.lines.insert(lastInSection + 1, entry);
        } else {
            f.lines << u'[' + section + u']' << entry;
        }
    }
    const QString eol = f.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    const QString text = f.lines.join(eol) + eol;
    QByteArray bytes;
    if (f.utf8) {
        if (f.bom) bytes = "\xEF\xBB\xBF";
        bytes += text.toUtf8();
    } else {
        bytes = QStringEncoder("GBK").encode(text);
    }
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write(bytes);
    return out.commit();
}
