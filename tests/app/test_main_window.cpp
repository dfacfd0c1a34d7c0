#include "StockFixture.h"

#include "app/Login.h"
#include "app/Password.h"
#include "app/PoleDisplay.h"
#include "app/Session.h"
#include "app/ui/Ulogin.h"
#include "app/ui/Umain.h"
#include "support/Harness.h"
#include "support/TestShop.h"
#include "ui/SizeColourGridView.h"
#include "ui/WindowRegistry.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QString panel(TFmain &w, const char *name) { return child<QLabel>(&w, QString::fromLatin1(name))->text(); }

bool enabled(TFmain &w, const char *action) { return child<QAction>(&w, QString::fromLatin1(action))->isEnabled(); }

// Types a user and password into the login window and presses Enter in the password.
int logIn(TFlogin &login, const QString &user, const QString &password)
{
    login.setResult(QDialog::Rejected);
    child<QComboBox>(&login, QStringLiteral("ComboBox1"))->setEditText(user);
    auto *edit = child<QLineEdit>(&login, QStringLiteral("Edit2"));
    edit->setText(password);
    Q_EMIT edit->returnPressed();
    return login.result();
}

// A row of a grid as shown.
QStringList gridRow(QTableView *g, int row)
{
    QStringList cells;
    for (int c = 0; c < g->model()->columnCount(); ++c) cells << g->model()->index(row, c).data().toString();
    return cells;
}

QStringList column(QTableView *g, const QString &name)
{
    QStringList cells;
    const QAbstractItemModel *m = g->model();
    for (int c = 0; c < m->columnCount(); ++c)
        if (m->headerData(c, Qt::Horizontal).toString() == name)
            for (int r = 0; r < m->rowCount(); ++r) cells << m->index(r, c).data().toString();
    return cells;
}

} // namespace

TEST(LoginWindow, RefusesUnknownUsersAndWrongPasswordsThenOpensTheSession)
{
    TestShop shop;
    Harness h;
    fixture::addOperator(shop.db(), QStringLiteral("王芳"), hashPassword(QStringLiteral("pw")), QStringLiteral("东门店"));
    TFmain main;
    TFlogin login(&main);
    login.show();
    EXPECT_EQ(login.windowTitle(), QStringLiteral("登录，版本号2013.03.01.00.00"));
    auto *users = child<QComboBox>(&login, QStringLiteral("ComboBox1"));
    EXPECT_EQ(users->currentText(), QStringLiteral("admin"));
    ASSERT_EQ(users->count(), 2);
    EXPECT_EQ(users->itemText(1), QStringLiteral("王芳"));

    EXPECT_EQ(logIn(login, QStringLiteral("李四"), QString()), QDialog::Rejected);
    EXPECT_EQ(logIn(login, QStringLiteral("王芳"), QStringLiteral("PW")), QDialog::Rejected);
    EXPECT_EQ(h.msgs.infos, (QStringList{QStringLiteral("无此用户名！！"),
                                         QStringLiteral("密码错误！！首次使用该软件时，密码为空")}));
    EXPECT_TRUE(session().CurrentUser.isEmpty());

    // Capitals find "admin"; the session keeps the name as typed.
    EXPECT_EQ(logIn(login, QStringLiteral("ADMIN"), QString()), QDialog::Accepted);
    EXPECT_EQ(h.msgs.infos.size(), 2);
    EXPECT_EQ(session().CurrentUser, QStringLiteral("ADMIN"));
    EXPECT_EQ(session().CurrentBranch, QStringLiteral("总部"));
    EXPECT_EQ(panel(main, "sb1Panel1"), QStringLiteral("操作员：ADMIN"));
    EXPECT_EQ(session().PointsDivisor, Money::fromInt(1));
    EXPECT_TRUE(child<QMenu>(&main, QStringLiteral("N6"))->menuAction()->isVisible());
}

TEST(LoginWindow, RightsGateExactlyTheirEntriesAndShortStringsDeny)
{
    TestShop shop;
    Harness h;
    fixture::addOperator(shop.db(), QStringLiteral("cashier"), hashPassword(QString()), QStringLiteral("东门店"),
                         {QStringLiteral("1011111"), QString(), QStringLiteral("11"), QStringLiteral("111"),
                          QStringLiteral("1")});
    TFmain main;
    TFlogin login(&main);
    login.show();
    ASSERT_EQ(logIn(login, QStringLiteral("cashier"), QString()), QDialog::Accepted);
    const QSet<QString> denied = {QStringLiteral("N12"), QStringLiteral("N25"), QStringLiteral("N26"),
                                  QStringLiteral("N27"), QStringLiteral("N30"), QStringLiteral("N9"),
                                  QStringLiteral("N10"), QStringLiteral("N11")};
    for (const login::Gate &g : login::gates())
        EXPECT_EQ(enabled(main, g.entry), !denied.contains(QString::fromLatin1(g.entry))) << g.entry;
    for (const char *free : {"N41", "N31", "N40", "N42", "N32", "N37", "N38", "N34", "N35", "N36", "N7", "N4", "N5", "N39"})
        EXPECT_TRUE(enabled(main, free)) << free;
    for (QToolButton *b : main.findChildren<QToolButton *>(QRegularExpression(QStringLiteral("^ToolButton\\d+$"))))
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_EQ(main.findChildren<QToolButton *>(QRegularExpression(QStringLiteral("^ToolButton\\d+$"))).size(), 8);

    // A single "0" disables only its own entry, and the next apply re-enables it.
    for (const login::Gate &gate : login::gates()) {
        QString rights[5];
        for (QString &r : rights) r = QStringLiteral("11111111111111111111");
        rights[gate.group - 1][gate.position - 1] = u'0';
        Session &s = session();
        s.RightsGroup1 = rights[0]; s.RightsGroup2 = rights[1]; s.RightsGroup3 = rights[2];
        s.RightsGroup4 = rights[3]; s.RightsGroup5 = rights[4];
        main.applyRights();
        for (const login::Gate &g : login::gates())
            EXPECT_EQ(enabled(main, g.entry), &g != &gate) << "denied " << gate.entry << ", checking " << g.entry;
    }
}

TEST(LoginWindow, ShopSettingsHideHelpAndAFailedDisplayDoesNotStopTheLogin)
{
    TestShop shop;
    Harness h;
    QFile ini(shop.file(QStringLiteral("sz.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    // As another program may have written it: UTF-8, an empty company name.
    ini.write(QStringLiteral("[公司简称]\r\n类型=\r\n[顾客显示屏]\r\n类型=12\r\n").toUtf8());
    ini.close();
    TFmain main;
    TFlogin login(&main);
    login.show();
    EXPECT_EQ(logIn(login, QStringLiteral("admin"), QString()), QDialog::Accepted);
    EXPECT_EQ(h.msgs.infos, QStringList{QStringLiteral("顾客显示屏打开失败")});
    EXPECT_EQ(session().CompanyShortName, QString());
    EXPECT_FALSE(child<QMenu>(&main, QStringLiteral("N6"))->menuAction()->isVisible());
    EXPECT_EQ(session().DisplayPort, QStringLiteral("12"));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Quenvar店铺收银管理系统----版本号：2013.03.01.00.00"));
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        using namespace fixture;
        Database &db = shop.db();
        addWarehouse(db, QStringLiteral("总仓"));
        addWarehouse(db, QStringLiteral("门店"));
        addSizes(db, QStringLiteral("上衣"), {QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L")});
        addSizes(db, QStringLiteral("均码"), {});
        addColours(db, QStringLiteral("基本色"), {QStringLiteral("红"), QStringLiteral("黑")});
        shirt = addArticle(db, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("上衣"), QStringLiteral("基本色"));
        coat = addArticle(db, QStringLiteral("风衣"), QStringLiteral("O'Neil-7"), QStringLiteral("上衣"), QStringLiteral("基本色"));
        scarf = addArticle(db, QStringLiteral("围巾"), QStringLiteral("WJ-1"), QStringLiteral("均码"), QStringLiteral("基本色"));
        addStock(db, shirt, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("总仓"), QStringLiteral("M"), QStringLiteral("红"), 5);
        addStock(db, shirt, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("门店"), QStringLiteral("L"), QStringLiteral("黑"), 3);
        addStock(db, coat, QStringLiteral("风衣"), QStringLiteral("O'Neil-7"), QStringLiteral("门店"), QStringLiteral("S"), QStringLiteral("红"), 1);
        addStock(db, scarf, QStringLiteral("围巾"), QStringLiteral("WJ-1"), QStringLiteral("总仓"), QString(), QStringLiteral("红"), 4);
        session().CurrentUser = QStringLiteral("admin");
        main.show();
        grid = child<SizeColourGridView>(&main, QStringLiteral("StringGrid3"));
        articles = child<QTableView>(&main, QStringLiteral("DBGridEh1"));
        sizeRows = child<QTableView>(&main, QStringLiteral("DBGridEh2"));
    }
    void TearDown() override
    {
        TFmain::setUrlOpener(nullptr);
        resetWindows();
    }
    void select(int row) { articles->setCurrentIndex(articles->model()->index(row, 0)); }
    QString breakdownTitle() { return child<QGroupBox>(&main, QStringLiteral("GroupBox3"))->title(); }

    TestShop shop;
    Harness h;
    qint64 shirt = 0, coat = 0, scarf = 0;
    TFmain main;
    SizeColourGridView *grid = nullptr;
    QTableView *articles = nullptr;
    QTableView *sizeRows = nullptr;
};

TEST_F(MainWindowTest, OverviewAndBreakdownFollowTheSelection)
{
    auto *warehouses = child<QComboBox>(&main, QStringLiteral("ComboBox1"));
    ASSERT_EQ(warehouses->count(), 3);
    EXPECT_EQ(warehouses->itemText(0), QStringLiteral("所有仓库"));
    EXPECT_EQ(warehouses->itemText(2), QStringLiteral("门店"));
    EXPECT_EQ(articles->model()->rowCount(), 3);
    EXPECT_EQ(sizeRows->model()->rowCount(), 4);
    EXPECT_EQ(panel(main, "DBGridEh2Footer"), QStringLiteral("数量合计：13"));

    // The first article is shown on load, read-only, with its totals.
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(grid->isReadOnly());
    EXPECT_EQ(breakdownTitle(), QStringLiteral("衬衫在所有仓库的详细尺码库存"));
    EXPECT_EQ(gridRow(grid, 0), (QStringList{QString(), QStringLiteral("S"), QStringLiteral("M"), QStringLiteral("L"),
                                             QStringLiteral("合计")}));
    EXPECT_EQ(gridRow(grid, 1), (QStringList{QStringLiteral("红"), QString(), QStringLiteral("5"), QString(), QStringLiteral("5")}));
    EXPECT_EQ(gridRow(grid, 2), (QStringList{QStringLiteral("黑"), QString(), QString(), QStringLiteral("3"), QStringLiteral("3")}));
    EXPECT_EQ(gridRow(grid, 3), (QStringList{QStringLiteral("合计"), QStringLiteral("0"), QStringLiteral("5"),
                                             QStringLiteral("3"), QStringLiteral("8")}));

    // Another article never shows the previous one's numbers.
    select(1);
    EXPECT_EQ(breakdownTitle(), QStringLiteral("风衣在所有仓库的详细尺码库存"));
    EXPECT_EQ(gridRow(grid, 1), (QStringList{QStringLiteral("红"), QStringLiteral("1"), QString(), QString(), QStringLiteral("1")}));
    EXPECT_EQ(gridRow(grid, 2), (QStringList{QStringLiteral("黑"), QString(), QString(), QString(), QStringLiteral("0")}));

    // A size rule without sizes: the colour column only.
    select(2);
    EXPECT_EQ(grid->model()->columnCount(), 1);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(gridRow(grid, 1), QStringList{QStringLiteral("红")});

    // Choosing a warehouse refreshes both modes.
    warehouses->setCurrentIndex(2);
    Q_EMIT warehouses->activated(2);
    EXPECT_EQ(articles->model()->rowCount(), 2);
    EXPECT_EQ(sizeRows->model()->rowCount(), 2);
    EXPECT_EQ(panel(main, "DBGridEh2Footer"), QStringLiteral("数量合计：4"));
    select(0);
    EXPECT_EQ(breakdownTitle(), QStringLiteral("衬衫在门店的详细尺码库存"));
    EXPECT_EQ(gridRow(grid, 1), (QStringList{QStringLiteral("红"), QString(), QString(), QString(), QStringLiteral("0")}));
    EXPECT_EQ(gridRow(grid, 2), (QStringList{QStringLiteral("黑"), QString(), QString(), QStringLiteral("3"), QStringLiteral("3")}));
}

TEST_F(MainWindowTest, ModeTwoListsSizesInTheRulesOrderAndShowsTheBreakdownOfTheRowChosen)
{
    using namespace fixture;
    for (const char *size : {"S", "M"})
        addStock(shop.db(), coat, QStringLiteral("风衣"), QStringLiteral("O'Neil-7"), QStringLiteral("门店"),
                 QString::fromUtf8(size), QStringLiteral("黑"), 2);
    ASSERT_TRUE(click(&main, QStringLiteral("Button3")));
    // Alphabetically M would come before S; the rule puts S first.
    EXPECT_EQ(column(sizeRows, QStringLiteral("商品尺码")),
              (QStringList{QStringLiteral("M"), QStringLiteral("L"), QStringLiteral("S"), QStringLiteral("S"),
                           QStringLiteral("M"), QString()}));
    EXPECT_EQ(column(sizeRows, QStringLiteral("颜色")),
              (QStringList{QStringLiteral("红"), QStringLiteral("黑"), QStringLiteral("红"), QStringLiteral("黑"),
                           QStringLiteral("黑"), QStringLiteral("红")}));

    // A row of mode two shows its own article.
    sizeRows->setCurrentIndex(sizeRows->model()->index(3, 0));
    EXPECT_EQ(breakdownTitle(), QStringLiteral("风衣在所有仓库的详细尺码库存"));
    EXPECT_EQ(gridRow(grid, 2), (QStringList{QStringLiteral("黑"), QStringLiteral("2"), QStringLiteral("2"), QString(),
                                             QStringLiteral("4")}));
}

TEST_F(MainWindowTest, CommittedChangesRefreshTheOverviewTakingsAndWarehousesOnceRollbacksNothing)
{
    using namespace fixture;
    Database &db = shop.db();
    auto *warehouseList = child<QComboBox>(&main, QStringLiteral("ComboBox1"));
    int overviewLoads = 0;
    QObject::connect(articles->model(), &QAbstractItemModel::modelReset, [&] { ++overviewLoads; });

    // A rolled-back posting announces nothing.
    {
        Transaction tx(db);
        addStock(db, shirt, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("总仓"), QStringLiteral("S"),
                 QStringLiteral("黑"), 7);
        announceChange(db, ChangeNotices::Stock);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(overviewLoads, 0);

    // Two postings committed one after the other: one refresh.
    for (const QString &colour : {QStringLiteral("黑"), QStringLiteral("红")}) {
        Transaction tx(db);
        addStock(db, shirt, QStringLiteral("衬衫"), QStringLiteral("CS-01"), QStringLiteral("总仓"), QStringLiteral("S"),
                 colour, 7);
        announceChange(db, ChangeNotices::Stock);
        tx.commit();
    }
    EXPECT_EQ(overviewLoads, 0);   // not while the poster is still running
    QCoreApplication::processEvents();
    EXPECT_EQ(overviewLoads, 1);
    EXPECT_EQ(panel(main, "DBGridEh2Footer"), QStringLiteral("数量合计：27"));
    EXPECT_EQ(breakdownTitle(), QStringLiteral("衬衫在所有仓库的详细尺码库存"));
    EXPECT_EQ(gridRow(grid, 1), (QStringList{QStringLiteral("红"), QStringLiteral("7"), QStringLiteral("5"), QString(),
                                             QStringLiteral("12")}));
    EXPECT_EQ(gridRow(grid, 2), (QStringList{QStringLiteral("黑"), QStringLiteral("7"), QString(), QStringLiteral("3"),
                                             QStringLiteral("10")}));

    // The article looked at stays selected across a refresh.
    select(1);
    {
        Transaction tx(db);
        addStock(db, coat, QStringLiteral("风衣"), QStringLiteral("O'Neil-7"), QStringLiteral("门店"), QStringLiteral("L"),
                 QStringLiteral("红"), 2);
        announceChange(db, ChangeNotices::Stock);
        tx.commit();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(breakdownTitle(), QStringLiteral("风衣在所有仓库的详细尺码库存"));
    EXPECT_EQ(gridRow(grid, 1), (QStringList{QStringLiteral("红"), QStringLiteral("1"), QString(), QStringLiteral("2"),
                                             QStringLiteral("3")}));

    // A sale: today's takings, without the overview.
    overviewLoads = 0;
    {
        Transaction tx(db);
        addSale(db, QDateTime(QDate::currentDate(), QTime(9, 30)), 3, QStringLiteral("88.5"), QStringLiteral("88.5"),
                QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"));
        announceChange(db, ChangeNotices::Sales);
        tx.commit();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(child<QLabel>(&main, QStringLiteral("Label4"))->text(), QStringLiteral("3"));
    EXPECT_EQ(child<QLabel>(&main, QStringLiteral("Label7"))->text(), QStringLiteral("88.5"));
    EXPECT_EQ(overviewLoads, 0);

    // A new warehouse appears; renaming the chosen one falls back to every warehouse.
    warehouseList->setCurrentIndex(2);
    Q_EMIT warehouseList->activated(2);
    {
        Transaction tx(db);
        addWarehouse(db, QStringLiteral("西区仓"));
        exec(db, QStringLiteral("update 库房名称 set 库房名称='门店一' where 库房名称='门店'"));
        announceChange(db, ChangeNotices::Warehouses, QStringLiteral("库房名称"));
        tx.commit();
    }
    QCoreApplication::processEvents();
    QStringList names;
    for (int i = 0; i < warehouseList->count(); ++i) names << warehouseList->itemText(i);
    EXPECT_EQ(names, (QStringList{QStringLiteral("所有仓库"), QStringLiteral("总仓"), QStringLiteral("门店一"),
                                  QStringLiteral("西区仓")}));
    EXPECT_EQ(warehouseList->currentText(), QStringLiteral("所有仓库"));
    EXPECT_EQ(articles->model()->rowCount(), 3);
}

TEST_F(MainWindowTest, ArticleNumberFiltersOnRefreshAndAnEmptyOverviewShrinksTheBreakdown)
{
    auto *number = child<QLineEdit>(&main, QStringLiteral("Edit1"));
    number->setText(QStringLiteral("O'N"));
    EXPECT_EQ(articles->model()->rowCount(), 3);   // typing alone does not filter
    ASSERT_TRUE(click(&main, QStringLiteral("Button3")));
    EXPECT_TRUE(h.msgs.errors.isEmpty()) << h.msgs.errors.join(u'\n').toStdString();
    ASSERT_EQ(articles->model()->rowCount(), 1);
    EXPECT_EQ(articles->model()->index(0, articles->model()->columnCount() - 1).data().toString().isEmpty(), false);
    EXPECT_EQ(sizeRows->model()->rowCount(), 1);
    EXPECT_EQ(panel(main, "DBGridEh2Footer"), QStringLiteral("数量合计：1"));

    number->setText(QStringLiteral("没有这个货号"));
    Q_EMIT number->returnPressed();
    EXPECT_EQ(articles->model()->rowCount(), 0);
    EXPECT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(grid->model()->columnCount(), 1);
    EXPECT_EQ(panel(main, "DBGridEh2Footer"), QStringLiteral("数量合计：0"));
}

TEST_F(MainWindowTest, TodaysTakings)
{
    const QStringList labels = {QStringLiteral("Label4"), QStringLiteral("Label7"), QStringLiteral("Label10"),
                                QStringLiteral("Label13"), QStringLiteral("Label16"), QStringLiteral("Label19")};
    fixture::addSale(shop.db(), QDateTime(QDate::currentDate().addDays(-1), QTime(12, 0)), 9, QStringLiteral("99"),
                     QStringLiteral("99"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"));
    ASSERT_TRUE(click(&main, QStringLiteral("Button1")));
    for (const QString &l : labels) EXPECT_EQ(child<QLabel>(&main, l)->text(), QStringLiteral("0")) << l.toStdString();

    fixture::addSale(shop.db(), QDateTime(QDate::currentDate(), QTime(0, 0)), 2, QStringLiteral("150.50"),
                     QStringLiteral("100"), QStringLiteral("20.5"), QStringLiteral("10"), QStringLiteral("20"));
    ASSERT_TRUE(click(&main, QStringLiteral("Button1")));
    QStringList shown;
    for (const QString &l : labels) shown << child<QLabel>(&main, l)->text();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("2"), QStringLiteral("150.5"), QStringLiteral("100"),
                                  QStringLiteral("20.5"), QStringLiteral("20"), QStringLiteral("10")}));
}

TEST_F(MainWindowTest, EntriesOpenTheirWindowsOrSayTheyAreNotThereYet)
{
    EXPECT_EQ(panel(main, "sb1Panel2"), QString());
    ASSERT_TRUE(click(&main, QStringLiteral("N13")));
    EXPECT_EQ(panel(main, "sb1Panel2"), QStringLiteral("该功能尚未提供"));
    EXPECT_TRUE(h.modal.opened.isEmpty());

    // The operators window: the rights are read again when it closes.
    registerWindow(QStringLiteral("Tcaozuoyuan_list"), [](QWidget *p) { return new QDialog(p); });
    h.modal.on(QStringLiteral("Tcaozuoyuan_list"), [this](QDialog &) {
        fixture::exec(shop.db(), QStringLiteral("update 登陆 set right5=:r where 用户=:u"),
                      {{QStringLiteral("r"), QStringLiteral("1101")}, {QStringLiteral("u"), QStringLiteral("admin")}});
    });
    session().RightsGroup5 = QStringLiteral("1111");
    main.applyRights();
    ASSERT_TRUE(click(&main, QStringLiteral("N9")));
    EXPECT_EQ(h.modal.opened, QStringList{QStringLiteral("Tcaozuoyuan_list")});
    EXPECT_EQ(session().RightsGroup5, QStringLiteral("1101"));
    EXPECT_FALSE(enabled(main, "N10"));
    EXPECT_TRUE(enabled(main, "N9"));

    // Tool buttons open the same windows.
    registerWindow(QStringLiteral("Tkehu_list"), [](QWidget *p) { return new QDialog(p); });
    ASSERT_TRUE(click(&main, QStringLiteral("ToolButton2")));
    EXPECT_EQ(h.modal.opened.last(), QStringLiteral("Tkehu_list"));

    // Help: the manual for the program's own name, the website otherwise.
    QList<QUrl> opened;
    TFmain::setUrlOpener([&](const QUrl &u) { opened << u; });
    ASSERT_TRUE(click(&main, QStringLiteral("N7")));
    session().CompanyShortName = QStringLiteral("东门服装");
    session().ContactWebsite = QStringLiteral("http://shop.example.net");
    ASSERT_TRUE(click(&main, QStringLiteral("N7")));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_TRUE(opened[0].toLocalFile().endsWith(QStringLiteral("/服装销售系统使用说明书.doc")));
    EXPECT_EQ(opened[1], QUrl(QStringLiteral("http://shop.example.net")));
}

TEST_F(MainWindowTest, OverviewHidesAndShowsAgain)
{
    auto *box = child<QGroupBox>(&main, QStringLiteral("GroupBox5"));
    ASSERT_TRUE(click(&main, QStringLiteral("Button4")));
    EXPECT_TRUE(box->isHidden());
    ASSERT_TRUE(click(&main, QStringLiteral("N42")));
    EXPECT_FALSE(box->isHidden());
}

TEST_F(MainWindowTest, ClosingAsksAndCancelKeepsTheWindow)
{
    h.msgs.answers = {false, true};
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(h.msgs.questions, QStringList{QStringLiteral("确实要离开吗？")});
    session().DisplayPort = QStringLiteral("3");   // com_rest without an open display is harmless
    EXPECT_TRUE(main.close());
    EXPECT_FALSE(main.isVisible());
    EXPECT_FALSE(poleDisplayOpen());
}

TEST_F(MainWindowTest, SmsTimerRunsOnlyWithAnAccount)
{
    auto *timer = main.findChild<QTimer *>(QStringLiteral("Timer_duanxin"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_FALSE(timer->isActive());

    fixture::exec(shop.db(), QStringLiteral("insert into 短信帐户 (用户名,密码,网关) values ('shop01','x','中亿传媒106')"));
    TFmain second;
    second.show();
    EXPECT_TRUE(second.findChild<QTimer *>(QStringLiteral("Timer_duanxin"))->isActive());
    h.msgs.defaultAnswer = true;
}
