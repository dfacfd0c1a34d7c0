#include "app/SchemaUpgrade.h"
#include "app/Session.h"
#include "app/schema/Schema.h"
#include "support/TestShop.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString mainKind(Engine e) { return e == Engine::PostgreSQL ? QStringLiteral("sql") : QStringLiteral("access"); }
QString otherKind(Engine e) { return e == Engine::PostgreSQL ? QStringLiteral("access") : QStringLiteral("sql"); }

// A patch database of the test's own in a folder that stands for the program's.
class PatchFolder {
public:
    void write(const QList<PatchRow> &rows)
    {
        writePatchDatabase(dir_.filePath(QStringLiteral("buding.mdb")), rows);
        paths().programDir = dir_.path();
    }
    void useEmptyFolder() { paths().programDir = dir_.path(); }
private:
    QTemporaryDir dir_;
};

QString insertBranch(const QString &name) { return QStringLiteral("insert into 分店 (分店) values ('%1')").arg(name); }
QString insertCartLine(const QString &name) { return QStringLiteral("insert into 销售临时表 (商品名称) values ('%1')").arg(name); }

QStringList column(Database &db, const QString &sql, const QString &col)
{
    Query q(db);
    q.exec(sql);
    QStringList out;
    while (q.next()) out << q.text(col);
    return out;
}

QStringList branches(Database &db) { return column(db, QStringLiteral("select * from 分店 order by id"), QStringLiteral("分店")); }
QStringList cartLines(Database &db) { return column(db, QStringLiteral("select * from 销售临时表 order by id"), QStringLiteral("商品名称")); }
QStringList version(Database &db) { return column(db, QStringLiteral("select * from 版本号"), QStringLiteral("版本号")); }

} // namespace

class UpgradeOnEngines : public ::testing::TestWithParam<Engine> {};

TEST_P(UpgradeOnEngines, RunsNewStatementsOnceInTheirOrderSkippingFailures)
{
    QV_REQUIRE_ENGINE(GetParam());
    const Engine e = GetParam();
    TestShop shop(e, false);
    PatchFolder patch;
    const QString base = QString::fromLatin1(schema::kSchemaVersion);
    patch.write({
        {base, mainKind(e), insertBranch(QStringLiteral("已有版本"))},          // not newer than a new shop
        {QStringLiteral("201402010000"), mainKind(e), insertBranch(QStringLiteral("B"))},
        {QStringLiteral("201401010000"), mainKind(e), insertBranch(QStringLiteral("A"))},
        {QStringLiteral("201401150000"), mainKind(e), QStringLiteral("insert into 没有的表 values (1)")},
        {QStringLiteral("201403010000"), mainKind(e), insertBranch(QStringLiteral("C"))},
        {QStringLiteral("201403010000"), mainKind(e), QStringLiteral("ALTER TABLE 分店 ADD 电话 TEXT")},
        {QStringLiteral("201405010000"), otherKind(e), insertBranch(QStringLiteral("别的库"))},
        {QStringLiteral("201402010000"), QStringLiteral("本地"), insertCartLine(QStringLiteral("B"))},
        {QStringLiteral("201401010000"), QStringLiteral("本地"), insertCartLine(QStringLiteral("A"))},
        {QStringLiteral("201401200000"), QStringLiteral("本地"), QStringLiteral("this is not sql")},
        {QStringLiteral("201403010000"), QStringLiteral("本地"), insertCartLine(QStringLiteral("C"))},
    });
    TDM &dm = shop.open();

    // Main database: the patch table's stored order; scratch: version order.
    EXPECT_EQ(branches(dm.ADOConnection1), (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")}));
    EXPECT_EQ(cartLines(dm.ADOtemp), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_NO_THROW(Query(dm.ADOConnection1).exec(QStringLiteral("select 电话 from 分店")));
    EXPECT_EQ(version(dm.ADOConnection1), QStringList{QStringLiteral("201403010000")});
    EXPECT_EQ(version(dm.ADOtemp), QStringList{QStringLiteral("201403010000")});
    EXPECT_EQ(dm.notices, QStringList{QStringLiteral("本地数据库版本升级到：201403010000")});

    // The second start finds both databases current and runs nothing.
    shop.close();
    TDM &again = shop.open();
    EXPECT_EQ(branches(again.ADOConnection1).size(), 3);
    EXPECT_EQ(cartLines(again.ADOtemp).size(), 3);
    EXPECT_TRUE(again.notices.isEmpty());
}

TEST_P(UpgradeOnEngines, NoRowsForTheMainKindStoreAnEmptyVersionUntilRowsArrive)
{
    QV_REQUIRE_ENGINE(GetParam());
    const Engine e = GetParam();
    TestShop shop(e, false);
    PatchFolder patch;
    patch.write({{QStringLiteral("201401010000"), otherKind(e), insertBranch(QStringLiteral("别的库"))}});
    shop.open();
    EXPECT_EQ(version(shop.db()), QStringList{QString()});
    EXPECT_TRUE(branches(shop.db()).isEmpty());
    // No scratch rows: its version stays and nothing is announced.
    EXPECT_EQ(version(shop.temp()), QStringList{QString::fromLatin1(schema::kSchemaVersion)});
    EXPECT_TRUE(shop.dm().notices.isEmpty());

    // An empty version is below every version: all rows of the kind run.
    shop.close();
    patch.write({{QStringLiteral("201001010000"), mainKind(e), insertBranch(QStringLiteral("旧"))},
                 {QStringLiteral("201401010000"), mainKind(e), insertBranch(QStringLiteral("新"))}});
    shop.open();
    EXPECT_EQ(branches(shop.db()), (QStringList{QStringLiteral("旧"), QStringLiteral("新")}));
    EXPECT_EQ(version(shop.db()), QStringList{QStringLiteral("201401010000")});
}

TEST_P(UpgradeOnEngines, DotsAreRemovedFromStoredVersions)
{
    QV_REQUIRE_ENGINE(GetParam());
    const Engine e = GetParam();
    TestShop shop(e);
    Query(shop.db()).exec(QStringLiteral("update 版本号 set 版本号='2014.0101.0000'"));
    shop.close();
    PatchFolder patch;
    patch.write({{QStringLiteral("201401010000"), mainKind(e), insertBranch(QStringLiteral("同版本"))},
                 {QStringLiteral("201401010001"), mainKind(e), insertBranch(QStringLiteral("更新"))}});
    shop.open();
    EXPECT_EQ(branches(shop.db()), QStringList{QStringLiteral("更新")});
}

TEST_P(UpgradeOnEngines, ScratchWithoutVersionTableStartsAtTheBuiltInVersion)
{
    QV_REQUIRE_ENGINE(GetParam());
    const Engine e = GetParam();
    TestShop shop(e);
    shop.temp().execute(QStringLiteral("drop table 版本号"));
    shop.close();
    PatchFolder patch;
    patch.write({{QStringLiteral("201210290000"), QStringLiteral("本地"), insertCartLine(QStringLiteral("基线"))},
                 {QStringLiteral("201211010000"), QStringLiteral("本地"), insertCartLine(QStringLiteral("补丁"))}});
    shop.open();
    EXPECT_EQ(cartLines(shop.temp()), QStringList{QStringLiteral("补丁")});
    EXPECT_EQ(version(shop.temp()), QStringList{QStringLiteral("201211010000")});
    EXPECT_EQ(shop.dm().notices, QStringList{QStringLiteral("本地数据库版本升级到：201211010000")});
}

TEST_P(UpgradeOnEngines, ScratchWithoutVersionTableAndNoPatchKeepsTheBuiltInVersion)
{
    QV_REQUIRE_ENGINE(GetParam());
    TestShop shop(GetParam());
    shop.temp().execute(QStringLiteral("drop table 版本号"));
    shop.close();
    PatchFolder patch;
    patch.write({{QStringLiteral("201401010000"), mainKind(GetParam()), insertBranch(QStringLiteral("A"))}});
    shop.open();
    EXPECT_EQ(version(shop.temp()), QStringList{QString::fromLatin1(SchemaUpgrade::kScratchBaseVersion)});
    EXPECT_TRUE(shop.dm().notices.isEmpty());
}

TEST_P(UpgradeOnEngines, MissingPatchDatabaseOrMainVersionTableIsReportedAndStartUpGoesOn)
{
    QV_REQUIRE_ENGINE(GetParam());
    const Engine e = GetParam();
    TestShop shop(e, false);
    PatchFolder patch;
    patch.useEmptyFolder();
    ASSERT_NO_THROW(shop.open());
    ASSERT_EQ(shop.dm().notices.size(), 1);
    EXPECT_TRUE(shop.dm().notices[0].startsWith(QStringLiteral("数据库升级出错："))) << shop.dm().notices[0].toStdString();
    EXPECT_TRUE(shop.dm().notices[0].contains(QStringLiteral("buding.mdb"))) << shop.dm().notices[0].toStdString();
    EXPECT_EQ(version(shop.db()), QStringList{QString::fromLatin1(schema::kSchemaVersion)});

    // No 版本号 in the main database: reported, and the scratch upgrade is skipped too.
    shop.db().execute(QStringLiteral("drop table 版本号"));
    shop.close();
    patch.write({{QStringLiteral("201401010000"), mainKind(e), insertBranch(QStringLiteral("A"))},
                 {QStringLiteral("201401010000"), QStringLiteral("本地"), insertCartLine(QStringLiteral("A"))}});
    ASSERT_NO_THROW(shop.open());
    EXPECT_EQ(shop.dm().notices.size(), 1);
    EXPECT_FALSE(shop.db().tableExists(QStringLiteral("版本号")));
    EXPECT_TRUE(branches(shop.db()).isEmpty());
    EXPECT_TRUE(cartLines(shop.temp()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Engines, UpgradeOnEngines, ::testing::ValuesIn(testEngines()), EngineParamName());

// A new database starts at the newest shipped version, so it runs no shipped patch.
TEST(ShippedPatches, NewestVersionOfEveryKindIsTheNewDatabaseVersion)
{
    auto patch = Database::openSqliteReadOnly(QStringLiteral(QV_BIN_DIR "/buding.mdb"));
    for (const QString kind : {QStringLiteral("access"), QStringLiteral("sql"), QStringLiteral("本地")}) {
        Query q(*patch);
        q.prepare(QStringLiteral("select max(版本号) as cc from 命令表 where 数据库=:k"));
        q.bind(QStringLiteral("k"), kind).exec();
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.text(QStringLiteral("cc")).remove(u'.'), QString::fromLatin1(schema::kSchemaVersion)) << kind.toStdString();
    }
}

TEST(PatchSource, ParsesPatchesAndRejectsMalformedOnes)
{
    QList<PatchRow> rows;
    QString error;
    ASSERT_TRUE(parsePatchSource(QStringLiteral("# comment\n@@ 201401010000 access\n\n# note\nALTER TABLE 分店\n  ADD 电话 TEXT;\n"
                                                "\n# about the next patch\n"
                                                "@@ 201401020000 本地\nselect 1\n"), &rows, &error)) << error.toStdString();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].version, QStringLiteral("201401010000"));
    EXPECT_EQ(rows[0].kind, QStringLiteral("access"));
    EXPECT_EQ(rows[0].sql, QStringLiteral("ALTER TABLE 分店\n  ADD 电话 TEXT"));
    EXPECT_EQ(rows[1].kind, QStringLiteral("本地"));

    EXPECT_FALSE(parsePatchSource(QStringLiteral("@@ 201401010000\nselect 1\n"), &rows, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("1:")));
    EXPECT_FALSE(parsePatchSource(QStringLiteral("@@ 201401010000 sql\n\n@@ 201401020000 sql\nselect 1\n"), &rows, &error));
}
