#include "app/IniFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

QByteArray gbk(const QString &text)
{
    QStringEncoder e("GBK");
    return e.encode(text);
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const QString kText = QStringLiteral("[默认自定义打印报表样式]\r\n类型=样式三\r\n; 注释行\r\n[打印份数]\r\n类型=2\r\n[公司简称]\r\n类型=\r\n");

} // namespace

class IniFileEncodings : public ::testing::TestWithParam<int> {};

// 0: GBK, 1: UTF-8, 2: UTF-8 with BOM
TEST_P(IniFileEncodings, ReadsAndWritesKeepingEncodingAndOtherLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sz.ini"));
    QByteArray bytes;
    switch (GetParam()) {
    case 0: bytes = gbk(kText); break;
    case 1: bytes = kText.toUtf8(); break;
    case 2: bytes = "\xEF\xBB\xBF" + kText.toUtf8(); break;
    }
    writeAll(path, bytes);

    IniFile f(path);
    EXPECT_EQ(f.read(QStringLiteral("默认自定义打印报表样式"), QStringLiteral("类型"), QStringLiteral("default")), QStringLiteral("样式三"));
    EXPECT_EQ(f.read(QStringLiteral("打印份数"), QStringLiteral("类型"), QStringLiteral("default")), QStringLiteral("2"));
    EXPECT_EQ(f.read(QStringLiteral("公司简称"), QStringLiteral("类型"), QStringLiteral("default")), QString());
    EXPECT_EQ(f.read(QStringLiteral("打印份数"), QStringLiteral("值"), QStringLiteral("default")), QStringLiteral("default"));
    EXPECT_EQ(f.read(QStringLiteral("顾客显示屏"), QStringLiteral("类型"), QStringLiteral("0")), QStringLiteral("0"));

    ASSERT_TRUE(f.write(QStringLiteral("打印份数"), QStringLiteral("类型"), QStringLiteral("3")));
    ASSERT_TRUE(f.write(QStringLiteral("顾客显示屏"), QStringLiteral("类型"), QStringLiteral("串口五")));

    const QByteArray after = readAll(path);
    QString expected = kText;
    expected.replace(QStringLiteral("类型=2"), QStringLiteral("类型=3"));
    expected += QStringLiteral("[顾客显示屏]\r\n类型=串口五\r\n");
    switch (GetParam()) {
    case 0: EXPECT_EQ(after, gbk(expected)); break;
    case 1: EXPECT_EQ(after, expected.toUtf8()); break;
    case 2: EXPECT_EQ(after, "\xEF\xBB\xBF" + expected.toUtf8()); break;
    }
    EXPECT_EQ(f.read(QStringLiteral("顾客显示屏"), QStringLiteral("类型"), QString()), QStringLiteral("串口五"));
}

INSTANTIATE_TEST_SUITE_P(Encodings, IniFileEncodings, ::testing::Values(0, 1, 2),
                         [](const auto &info) { return std::string(info.param == 0 ? "GBK" : info.param == 1 ? "UTF8" : "UTF8BOM"); });

TEST(IniFile, MissingFileReadsDefaultsAndIsCreatedInGbkOnWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shezhi.ini"));
    IniFile f(path);
    EXPECT_EQ(f.read(QStringLiteral("最后备份时间"), QStringLiteral("值"), QStringLiteral("无")), QStringLiteral("无"));
    ASSERT_TRUE(f.write(QStringLiteral("最后备份时间"), QStringLiteral("值"), QStringLiteral("2026-12-11")));
    EXPECT_EQ(readAll(path), gbk(QStringLiteral("[最后备份时间]\r\n值=2026-12-11\r\n")));
}

TEST(IniFile, ValuesAreReadExactlyAfterTheEqualsSign)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kf.ini"));
    writeAll(path, gbk(QStringLiteral(
        "[运行模式]\n值=网络版 \n[服务器]\n 值 =  db1:5433\n[用户名]\n值=\"quoted \"\n[密码]\nvalue=x\n")));
    IniFile f(path);
    EXPECT_EQ(f.read(QStringLiteral("运行模式"), QStringLiteral("值"), QString()), QStringLiteral("网络版 "));
    EXPECT_EQ(f.read(QStringLiteral("服务器"), QStringLiteral("值"), QString()), QStringLiteral("db1:5433"));
    EXPECT_EQ(f.read(QStringLiteral("用户名"), QStringLiteral("值"), QString()), QStringLiteral("quoted "));
    EXPECT_EQ(f.read(QStringLiteral("密码"), QStringLiteral("值"), QStringLiteral("default")), QStringLiteral("default"));
}
