#pragma once

#include <QString>

// A profile file (kf.ini, sz.ini, shezhi.ini, tsyq.ini): "[section]" lines open a
// section, "key=value" lines hold values. Files are GBK as the shop's older tools
// write them; a file that is valid UTF-8 (with or without BOM) is read as UTF-8
// and kept in UTF-8 when written. Keys are Chinese and must stay unescaped, which
// is why QSettings is not used.
class IniFile {
public:
    explicit IniFile(QString path);

    // A missing file or key reads as the default.
    QString read(const QString &section, const QString &key, const QString &defaultValue) const;
    // Replaces or adds one value, keeping every other line of the file as it was.
    // Returns false when the file cannot be written.
    bool write(const QString &section, const QString &key, const QString &value);

    const QString &path() const { return path_; }

private:
    QString path_;
};
