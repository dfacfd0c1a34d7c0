#include "app/ui/Umain.h"

#include "app/Login.h"
#include "app/PoleDisplay.h"
#include "app/Session.h"
#include "app/Udm.h"
#include "ui/Guard.h"
#include "ui/Messages.h"
#include "ui/Modal.h"
#include "ui/SizeColourGridView.h"
#include "ui/WindowRegistry.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kVersion = QStringLiteral("2013.03.01.00.00");
const QString kHomePage = QStringLiteral("https://quenvar.example.org/");
const QString kDownloadPage = QStringLiteral("https://quenvar.example.org/download");
const QString kUpdatesPage = QStringLiteral("https://quenvar.example.org/updates");
const QString kManual = QStringLiteral("服装销售系统使用说明书.doc");

std::function<void(const QUrl &)> &urlOpener()
{
    static std::function<void(const QUrl &)> f = [](const QUrl &u) { QDesktopServices::openUrl(u); };
    return f;
}

// Blanks a cell that repeats the one above it, so an article's many size rows
// read as one block.
class HideRepeatsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.row() > 0 && index.sibling(index.row() - 1, index.column()).data() == index.data())
            option->text.clear();
    }
};

// Shows the given columns of a paged result in that order (the others hidden),
// again after every reload, sized to the first screenful.
void showColumns(QTableView *view, overview::PagedRows *rows, const QStringList &columns, const QString &stretch)
{
    view->setModel(rows);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    QHeaderView *h = view->horizontalHeader();
    h->setHighlightSections(false);
    h->setMinimumSectionSize(56);
    h->setResizeContentsPrecision(50);
    auto layout = [view, rows, columns, stretch] {
        QHeaderView *h = view->horizontalHeader();
        for (int c = 0; c < rows->columnCount(); ++c) view->setColumnHidden(c, !columns.contains(rows->columns()[c]));
        for (int i = 0; i < columns.size(); ++i) {
            const int c = rows->columnIndex(columns[i]);
            if (c >= 0) h->moveSection(h->visualIndex(c), i);
        }
        view->resizeColumnsToContents();
        const int s = rows->columnIndex(stretch);
        if (s >= 0) h->setSectionResizeMode(s, QHeaderView::Stretch);
    };
    QObject::connect(rows, &QAbstractItemModel::modelReset, view, layout);
    layout();
}

} // namespace

void TFmain::setUrlOpener(std::function<void(const QUrl &)> opener)
{
    urlOpener() = opener ? std::move(opener) : [](const QUrl &u) { QDesktopServices::openUrl(u); };
}

TFmain::TFmain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("TFmain"));
    setWindowTitle(session().ProgramTitle + QStringLiteral("----版本号：") + kVersion);
    buildMenus();
    buildToolBar();

    auto *central = new QWidget(this);
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(buildOverview(), 1);
    layout->addWidget(buildSidePanel(), 0);
    setCentralWidget(central);

    auto *sb1 = new QStatusBar(this);
    sb1->setObjectName(QStringLiteral("sb1"));
    panel1_ = new QLabel(QStringLiteral("操作员："), sb1);
    panel1_->setObjectName(QStringLiteral("sb1Panel1"));
    panel1_->setMinimumWidth(200);
    panel2_ = new QLabel(sb1);
    panel2_->setObjectName(QStringLiteral("sb1Panel2"));
    panel3_ = new QLabel(sb1);
    panel3_->setObjectName(QStringLiteral("sb1Panel3"));
    sb1->addWidget(panel1_);
    sb1->addWidget(panel2_, 1);
    sb1->addPermanentWidget(panel3_);
    setStatusBar(sb1);

    Timer_duanxin = new QTimer(this);
    Timer_duanxin->setObjectName(QStringLiteral("Timer_duanxin"));
    Timer_duanxin->setInterval(1000);
    connect(Timer_duanxin, &QTimer::timeout, this, &TFmain::Timer_duanxinTimer);

    // Notices that arrive together (a posting announces stock and sales at once,
    // a list may save several rows) make one refresh once control returns.
    noticeTimer_ = new QTimer(this);
    noticeTimer_->setSingleShot(true);
    noticeTimer_->setInterval(0);
    connect(noticeTimer_, &QTimer::timeout, this, &TFmain::refreshFromNotices);
    connect(&changeNotices(), &ChangeNotices::changed, this,
            [this](ChangeNotices::Changes what, const QString &) { onChange(what); });
}

TFmain::~TFmain() = default;

QAction *TFmain::entry(QMenu *menu, const char *name, const QString &caption, const char *windowClass)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (windowClass) {
        const QString cls = QString::fromLatin1(windowClass);
        connect(a, &QAction::triggered, this, [this, cls] { open(cls); });
    }
    return a;
}

void TFmain::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto menu = [&](const char *name, const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Menu"));
        return m;
    };

    QMenu *N1 = menu("N1", QStringLiteral("基础资料"));
    entry(N1, "N3", QStringLiteral("商品类别设置"), "TFshangpin_leibie");
    entry(N1, "N12", QStringLiteral("商品尺码设置"), "TFshangpin_chima");
    entry(N1, "N15", QStringLiteral("商品颜色设置"), "TFyanse_list");
    entry(N1, "N14", QStringLiteral("商品设置"), "TFshangpin_list");
    entry(N1, "N28", QStringLiteral("分店设置"), "TFfendian_shezhi");
    entry(N1, "N20", QStringLiteral("库房设置"), "TFkufang_list");
    entry(N1, "N22", QStringLiteral("品牌设置"), "TFpinpai_list");
    entry(N1, "N41", QStringLiteral("导购员设置"), "TFdaogouyuan_list");

    QMenu *N24 = menu("N24", QStringLiteral("客户资料"));
    entry(N24, "N25", QStringLiteral("零售会员"), "Tkehu_list");
    entry(N24, "N26", QStringLiteral("批发客户"), "TFpifa_kehu_list");
    entry(N24, "N27", QStringLiteral("供货商管理"), "TFgonghuoshang_list");
    entry(N24, "N30", QStringLiteral("零售会员类型"), "TFkehu_leixing_list");
    entry(N24, "N31", QStringLiteral("零售会员区域"), "TFkehu_qvyu_list");

    QMenu *N2 = menu("N2", QStringLiteral("库存管理"));
    entry(N2, "N13", QStringLiteral("采购进货"), "TFcaigou_jinhuo");
    entry(N2, "N19", QStringLiteral("采购退货"), "TFcaigou_tuihuo");
    entry(N2, "N40", QStringLiteral("库存盘点"), "TFkucun_pandian");
    connect(entry(N2, "N42", QStringLiteral("主窗口显示库存"), nullptr), &QAction::triggered, this, &TFmain::N42Click);

    QMenu *N16 = menu("N16", QStringLiteral("日常销售"));
    entry(N16, "N17", QStringLiteral("前台零售"), "TFxiaoshou_fukuan");
    entry(N16, "N18", QStringLiteral("销售查询"), "TFxiaoshou_chaxun");
    entry(N16, "N23", QStringLiteral("商品批发"), "TFshangpin_pifa");
    entry(N16, "N32", QStringLiteral("商品销售汇总"), "TFshangpin_xiaoshou_huizong");

    QMenu *N8 = menu("N8", QStringLiteral("系统管理"));
    entry(N8, "N21", QStringLiteral("系统设置"), "TFxitong_shezhi");
    connect(entry(N8, "N9", QStringLiteral("权限管理"), nullptr), &QAction::triggered, this, &TFmain::N9Click);
    entry(N8, "N10", QStringLiteral("密码修改"), "Txiugai_mima");
    connect(entry(N8, "N37", QStringLiteral("数据备份"), nullptr), &QAction::triggered, this, &TFmain::N37Click);
    connect(entry(N8, "N38", QStringLiteral("数据还原"), nullptr), &QAction::triggered, this, &TFmain::N38Click);
    entry(N8, "N11", QStringLiteral("数据初始化"), "TFshujv_chushihua");

    QMenu *N33 = menu("N33", QStringLiteral("手机短信"));
    entry(N33, "N34", QStringLiteral("短信发送"), "TFduanxin_fasong");
    entry(N33, "N35", QStringLiteral("短信账户设置"), "TFduanxin_zhanghu");
    entry(N33, "N36", QStringLiteral("短信发送明细"), "TFduanxin_fasong_xiangxi");

    N6 = menu("N6", QStringLiteral("帮助"));
    connect(entry(N6, "N7", QStringLiteral("帮助"), nullptr), &QAction::triggered, this, &TFmain::N7Click);
    entry(N6, "N4", QStringLiteral("关于"), "Tabout");
    connect(entry(N6, "N5", QStringLiteral("退出"), nullptr), &QAction::triggered, this, &TFmain::N5Click);
    connect(entry(N6, "N39", QStringLiteral("老数据升级"), nullptr), &QAction::triggered, this, &TFmain::N39Click);
}

void TFmain::buildToolBar()
{
    auto *bar = new QToolBar(QStringLiteral("工具栏"), this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setIconSize(QSize(32, 32));
    struct Tool {
        const char *name;
        const char *caption;
        const char *windowClass;
        QStyle::StandardPixmap icon;
    };
    const Tool tools[] = {
        {"ToolButton1", "商品销售 ", "TFxiaoshou_fukuan", QStyle::SP_DialogApplyButton},
        {"ToolButton4", "商品批发", "TFshangpin_pifa", QStyle::SP_FileDialogDetailedView},
        {"ToolButton2", "会员资料", "Tkehu_list", QStyle::SP_DirHomeIcon},
        {"ToolButton16", "入库", "TFcaigou_jinhuo", QStyle::SP_ArrowDown},
        {"ToolButton10", "出库", "TFcaigou_tuihuo", QStyle::SP_ArrowUp},
        {"ToolButton9", "销售查询", "TFxiaoshou_chaxun", QStyle::SP_FileDialogContentsView},
        {"ToolButton5", "库存盘点", "TFkucun_pandian", QStyle::SP_FileDialogListView},
        {"ToolButton3", "退出", nullptr, QStyle::SP_DialogCloseButton},
    };
    for (const Tool &t : tools) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(t.name));
        b->setText(QString::fromUtf8(t.caption));
        b->setIcon(style()->standardIcon(t.icon));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setMinimumWidth(72);
        bar->addWidget(b);
        if (t.windowClass) {
            const QString cls = QString::fromLatin1(t.windowClass);
            connect(b, &QToolButton::clicked, this, [this, cls] { open(cls); });
        } else {
            connect(b, &QToolButton::clicked, this, &TFmain::ToolButton3Click);
        }
    }
    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    ChnCalendar1 = new QLabel(bar);
    ChnCalendar1->setObjectName(QStringLiteral("ChnCalendar1"));
    ChnCalendar1->setContentsMargins(8, 0, 12, 0);
    bar->addWidget(ChnCalendar1);
    addToolBar(Qt::TopToolBarArea, bar);
}

QWidget *TFmain::buildOverview()
{
    GroupBox5 = new QGroupBox(QStringLiteral("库存显示"), this);
    GroupBox5->setObjectName(QStringLiteral("GroupBox5"));

    ComboBox1 = new QComboBox(GroupBox5);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItem(QString::fromUtf8(overview::kAllWarehouses));
    ComboBox1->setMinimumWidth(160);
    Edit1 = new QLineEdit(GroupBox5);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(160);
    Button3 = new QPushButton(QStringLiteral("刷新"), GroupBox5);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button4 = new QPushButton(QStringLiteral("关闭显示"), GroupBox5);
    Button4->setObjectName(QStringLiteral("Button4"));

    auto *filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("仓库"), GroupBox5));
    filters->addWidget(ComboBox1);
    filters->addSpacing(12);
    filters->addWidget(new QLabel(QStringLiteral("货号"), GroupBox5));
    filters->addWidget(Edit1);
    filters->addWidget(Button3);
    filters->addStretch();
    filters->addWidget(Button4);

    PageControl1 = new QTabWidget(GroupBox5);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    // Mode one: totals per article.
    auto *page1 = new QWidget(PageControl1);
    page1->setObjectName(QStringLiteral("TabSheet1"));
    DBGridEh1 = new QTableView(page1);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    auto *p1 = new QVBoxLayout(page1);
    p1->setContentsMargins(0, 0, 0, 0);
    p1->addWidget(DBGridEh1);
    PageControl1->addTab(page1, QStringLiteral("显示模式一"));

    // Mode two: every size and colour row, with the total of the quantities.
    auto *page2 = new QWidget(PageControl1);
    page2->setObjectName(QStringLiteral("TabSheet2"));
    DBGridEh2 = new QTableView(page2);
    DBGridEh2->setObjectName(QStringLiteral("DBGridEh2"));
    auto *repeats = new HideRepeatsDelegate(DBGridEh2);
    DBGridEh2->setProperty("qv_repeats", QVariant::fromValue<QObject *>(repeats));
    DBGridEh2Footer = new QLabel(page2);
    DBGridEh2Footer->setObjectName(QStringLiteral("DBGridEh2Footer"));
    DBGridEh2Footer->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *p2 = new QVBoxLayout(page2);
    p2->setContentsMargins(0, 0, 0, 0);
    p2->addWidget(DBGridEh2);
    p2->addWidget(DBGridEh2Footer);
    PageControl1->addTab(page2, QStringLiteral("显示模式二"));

    // The breakdown beside both modes: the article selected in the mode shown.
    GroupBox3 = new QGroupBox(QStringLiteral("该商品详细尺码库存"), GroupBox5);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    StringGrid3 = new SizeColourGridView(GroupBox3);
    StringGrid3->setObjectName(QStringLiteral("StringGrid3"));
    StringGrid3->setReadOnly(true);
    auto *g3 = new QVBoxLayout(GroupBox3);
    g3->addWidget(StringGrid3);

    auto *split = new QSplitter(Qt::Horizontal, GroupBox5);
    split->setObjectName(QStringLiteral("OverviewSplitter"));
    split->addWidget(PageControl1);
    split->addWidget(GroupBox3);
    // Mode two's seven columns take a little more room than a breakdown of a
    // dozen sizes.
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({540, 430});
    split->setChildrenCollapsible(false);

    auto *layout = new QVBoxLayout(GroupBox5);
    layout->addLayout(filters);
    layout->addWidget(split, 1);

    connect(ComboBox1, &QComboBox::activated, this, &TFmain::ComboBox1Select);
    connect(Edit1, &QLineEdit::returnPressed, this, &TFmain::Edit1KeyPress);
    connect(Button3, &QPushButton::clicked, this, &TFmain::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFmain::Button4Click);
    connect(DBGridEh1, &QTableView::clicked, this, &TFmain::DBGridEh1CellClick);

    // When the overview is closed the side panel keeps to the right.
    auto *holder = new QWidget(this);
    auto *h = new QVBoxLayout(holder);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(GroupBox5, 1);
    h->addStretch(0);
    return holder;
}

QWidget *TFmain::buildSidePanel()
{
    auto *side = new QWidget(this);
    side->setFixedWidth(250);
    auto *v = new QVBoxLayout(side);
    v->setContentsMargins(0, 0, 0, 0);

    GroupBox4 = new QGroupBox(QStringLiteral("今日营业额"), side);
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    auto *grid = new QGridLayout(GroupBox4);
    grid->setColumnStretch(1, 1);
    int row = 0;
    auto line = [&](int first, const QString &caption, QLabel *&value, const QString &unit) {
        auto *c = new QLabel(caption, GroupBox4);
        c->setObjectName(QStringLiteral("Label%1").arg(first));
        value = new QLabel(QStringLiteral("0"), GroupBox4);
        value->setObjectName(QStringLiteral("Label%1").arg(first + 1));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *u = new QLabel(unit, GroupBox4);
        u->setObjectName(QStringLiteral("Label%1").arg(first + 2));
        grid->addWidget(c, row, 0);
        grid->addWidget(value, row, 1);
        grid->addWidget(u, row, 2);
        ++row;
    };
    line(3, QStringLiteral("今日销售："), Label4, QStringLiteral("件"));
    line(6, QStringLiteral("今日销售："), Label7, QStringLiteral("元"));
    line(9, QStringLiteral("现金："), Label10, QStringLiteral("元"));
    line(12, QStringLiteral("储值支付："), Label13, QStringLiteral("元"));
    line(15, QStringLiteral("信用卡："), Label16, QStringLiteral("元"));
    line(18, QStringLiteral("代金卷："), Label19, QStringLiteral("元"));
    Button1 = new QPushButton(QStringLiteral("计算"), GroupBox4);
    Button1->setObjectName(QStringLiteral("Button1"));
    grid->addWidget(Button1, row, 0, 1, 3);
    connect(Button1, &QPushButton::clicked, this, &TFmain::Button1Click);
    v->addWidget(GroupBox4);

    auto *Panel1 = new QGroupBox(QStringLiteral("软件下载与升级"), side);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *pl = new QVBoxLayout(Panel1);
    auto link = [&](const char *name, const QString &caption, const QString &url) {
        auto *l = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(), caption.toHtmlEscaped()), Panel1);
        l->setObjectName(QString::fromLatin1(name));
        l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        connect(l, &QLabel::linkActivated, this, [](const QString &u) { urlOpener()(QUrl(u)); });
        pl->addWidget(l);
    };
    link("Label20", QStringLiteral("最新版本下载"), kDownloadPage);
    link("Label21", QStringLiteral("软件主页"), kHomePage);
    auto *upgrades = new QPushButton(QStringLiteral("查看最新升级内容"), Panel1);
    upgrades->setObjectName(QStringLiteral("Button2"));
    connect(upgrades, &QPushButton::clicked, this, [] { urlOpener()(QUrl(kUpdatesPage)); });
    pl->addWidget(upgrades);
    v->addWidget(Panel1);
    v->addStretch(1);
    return side;
}

void TFmain::showOperator(const QString &user) { panel1_->setText(QStringLiteral("操作员：") + user); }

void TFmain::applyRights()
{
    const Session &s = session();
    const QString *groups[] = {&s.RightsGroup1, &s.RightsGroup2, &s.RightsGroup3, &s.RightsGroup4, &s.RightsGroup5};
    for (const login::Gate &g : login::gates()) {
        if (QAction *a = findChild<QAction *>(QString::fromLatin1(g.entry)))
            a->setEnabled(Session::granted(*groups[g.group - 1], g.position));
    }
}

void TFmain::applyShopSettings()
{
    N6->menuAction()->setVisible(!session().CompanyShortName.isEmpty());
    setWindowTitle(session().ProgramTitle + QStringLiteral("----版本号：") + kVersion);
    panel3_->setText(session().CurrentBranch.isEmpty() ? QString()
                                                       : QStringLiteral("分店：") + session().CurrentBranch);
}

void TFmain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TFmain::FormShow()
{
    ChnCalendar1->setText(QLocale(QLocale::Chinese, QLocale::China)
                              .toString(QDate::currentDate(), QStringLiteral("yyyy年M月d日 dddd")));
    setWindowTitle(session().ProgramTitle + QStringLiteral("----版本号：") + kVersion);
    guarded([&] {
        Database &db = DM->ADOConnection1;
        ComboBox1->setCurrentIndex(0);
        loadWarehouses();

        if (!ADOQuery1) {
            ADOQuery1 = new overview::PagedRows(db, QStringLiteral("库存总表"), this);
            ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
            ADOQuery3 = new overview::PagedRows(db, QStringLiteral("库存尺码表"), this);
            ADOQuery3->setObjectName(QStringLiteral("ADOQuery3"));
            showColumns(DBGridEh1, ADOQuery1,
                        {QStringLiteral("商品编码"), QStringLiteral("商品名称"), QStringLiteral("货号"), QStringLiteral("数量")},
                        QStringLiteral("商品名称"));
            showColumns(DBGridEh2, ADOQuery3,
                        {QStringLiteral("商品编码"), QStringLiteral("商品名称"), QStringLiteral("货号"),
                         QStringLiteral("颜色"), QStringLiteral("商品尺码"), QStringLiteral("数量"),
                         QStringLiteral("库房名称")},
                        QStringLiteral("库房名称"));
            auto *repeats = qobject_cast<QStyledItemDelegate *>(DBGridEh2->property("qv_repeats").value<QObject *>());
            connect(ADOQuery3, &QAbstractItemModel::modelReset, DBGridEh2, [this, repeats] {
                for (const char *c : {"商品编码", "商品名称", "货号"}) {
                    const int col = ADOQuery3->columnIndex(QString::fromUtf8(c));
                    if (col >= 0) DBGridEh2->setItemDelegateForColumn(col, repeats);
                }
            });
            for (overview::PagedRows *rows : {ADOQuery1, ADOQuery3})
                connect(rows, &overview::PagedRows::fetchFailed, this, [](const QString &text) { messages().error(text); });
            connect(DBGridEh1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                    [this] { if (!reloading_) ADOQuery1AfterScroll(); });
            connect(DBGridEh2->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                    [this] { if (!reloading_) ADOQuery3AfterScroll(); });
        }
        shuaxinmain();

        Query q(db);
        q.exec(QStringLiteral("select * from 短信帐户 order by id"));
        if (q.next() && !q.text(QStringLiteral("用户名")).isEmpty()) Timer_duanxin->start();
    });
}

void TFmain::loadWarehouses()
{
    // The chosen warehouse stays chosen while it exists.
    const QString chosen = ComboBox1->currentText();
    const QStringList names = overview::warehouses(DM->ADOConnection1);
    QSignalBlocker block(ComboBox1);
    ComboBox1->clear();
    ComboBox1->addItem(QString::fromUtf8(overview::kAllWarehouses));
    ComboBox1->addItems(names);
    const int at = ComboBox1->findText(chosen);
    ComboBox1->setCurrentIndex(at < 0 ? 0 : at);
}

overview::Filter TFmain::filter() const
{
    overview::Filter f;
    f.warehouse = ComboBox1->currentText();
    f.articleNo = Edit1->text();
    return f;
}

void TFmain::shuaxinmain()
{
    if (!ADOQuery1) return;
    const overview::Filter f = filter();
    // The article looked at stays selected when it is still listed.
    const int row = DBGridEh1->currentIndex().isValid() ? DBGridEh1->currentIndex().row() : -1;
    const qint64 article = row >= 0 ? ADOQuery1->wholeNumber(row, QStringLiteral("商品编码")) : -1;
    reloading_ = true;
    guarded([&] {
        ADOQuery1->load(overview::modeOne(f));
        ADOQuery3->load(overview::modeTwo(f));
        DBGridEh2Footer->setText(QStringLiteral("数量合计：") + overview::modeTwoSum(DM->ADOConnection1, f));
    });
    reloading_ = false;
    int select = 0;
    for (int r = 0; article >= 0 && r < ADOQuery1->rowCount(); ++r)
        if (ADOQuery1->wholeNumber(r, QStringLiteral("商品编码")) == article) {
            select = r;
            break;
        }
    if (ADOQuery1->rowCount() == 0) {
        StringGrid3->setGrid(SizeColourGrid());
        GroupBox3->setTitle(QStringLiteral("该商品详细尺码库存"));
        return;
    }
    reloading_ = true;
    DBGridEh1->setCurrentIndex(ADOQuery1->index(select, ADOQuery1->columnIndex(QStringLiteral("商品编码"))));
    reloading_ = false;
    ADOQuery1AfterScroll();
}

void TFmain::ComboBox1Select() { shuaxinmain(); }
void TFmain::Button3Click() { shuaxinmain(); }
void TFmain::Edit1KeyPress() { shuaxinmain(); }

void TFmain::ADOQuery1AfterScroll()
{
    fillBreakdown(ADOQuery1, DBGridEh1->currentIndex().isValid() ? DBGridEh1->currentIndex().row() : -1);
}

void TFmain::ADOQuery3AfterScroll()
{
    fillBreakdown(ADOQuery3, DBGridEh2->currentIndex().isValid() ? DBGridEh2->currentIndex().row() : -1);
}

void TFmain::DBGridEh1CellClick() { ADOQuery1AfterScroll(); }

void TFmain::fillBreakdown(const overview::PagedRows *rows, int row)
{
    if (!rows || row < 0 || row >= rows->rowCount()) return;
    guarded([&] {
        const qint64 article = rows->wholeNumber(row, QStringLiteral("商品编码"));
        GroupBox3->setTitle(rows->value(row, QStringLiteral("商品名称")).toString() + QStringLiteral("在")
                            + ComboBox1->currentText() + QStringLiteral("的详细尺码库存"));
        // A new grid each time: a cell without stock is empty, never the number
        // of the article shown before.
        StringGrid3->setGrid(overview::breakdown(DM->ADOConnection1, article, filter()));
    });
}

void TFmain::onChange(ChangeNotices::Changes what)
{
    pending_ |= what;
    if (!noticeTimer_->isActive()) noticeTimer_->start();
}

void TFmain::refreshFromNotices()
{
    const ChangeNotices::Changes what = pending_;
    pending_ = {};
    if (!shownOnce_ || !ADOQuery1) return;   // the first show loads everything
    bool overviewToo = what.testFlag(ChangeNotices::Stock);
    if (what.testFlag(ChangeNotices::Warehouses)) {
        const QString chosen = ComboBox1->currentText();
        guarded([&] { loadWarehouses(); });
        // The chosen warehouse was renamed or deleted: the overview shows all again.
        if (ComboBox1->currentText() != chosen) overviewToo = true;
    }
    if (overviewToo) shuaxinmain();
    if (what.testFlag(ChangeNotices::Sales)) Button1Click();
}

void TFmain::Button1Click()
{
    guarded([&] {
        const overview::Takings t = overview::takings(DM->ADOConnection1, QDate::currentDate());
        Label4->setText(t.pieces);
        Label7->setText(t.discounted.toString());
        Label10->setText(t.cash.toString());
        Label13->setText(t.account.toString());
        Label16->setText(t.card.toString());
        Label19->setText(t.voucher.toString());
    });
}

void TFmain::Button4Click() { GroupBox5->hide(); }
void TFmain::N42Click() { GroupBox5->show(); }

void TFmain::notYetProvided()
{
    panel2_->setText(QStringLiteral("该功能尚未提供"));
    QTimer::singleShot(5000, panel2_, [p = panel2_] { p->clear(); });
}

void TFmain::open(const QString &windowClass)
{
    if (!hasWindow(windowClass)) {
        notYetProvided();
        return;
    }
    guarded([&] { openWindow(windowClass); });
}

void TFmain::N9Click()
{
    if (!hasWindow(QStringLiteral("Tcaozuoyuan_list"))) {
        notYetProvided();
        return;
    }
    guarded([&] {
        openWindow(QStringLiteral("Tcaozuoyuan_list"));
        // The operator may have changed their own rights.
        Session &s = session();
        const QStringList r = login::readRights(DM->ADOConnection1, s.CurrentUser);
        s.RightsGroup1 = r.value(0);
        s.RightsGroup2 = r.value(1);
        s.RightsGroup3 = r.value(2);
        s.RightsGroup4 = r.value(3);
        s.RightsGroup5 = r.value(4);
        applyRights();
    });
}

void TFmain::N7Click()
{
    if (session().CompanyShortName != QStringLiteral("Quenvar"))
        urlOpener()(QUrl(session().ContactWebsite));
    else
        urlOpener()(QUrl::fromLocalFile(paths().programFile(kManual)));
}

void TFmain::N5Click() { close(); }

void TFmain::ToolButton3Click()
{
    urlOpener()(QUrl(kHomePage));
    close();
}

void TFmain::openDataManagement(bool backup)
{
    if (!hasWindow(QStringLiteral("Tshujv_guanli"))) {
        notYetProvided();
        return;
    }
    try {
        QDialog *w = ::window(QStringLiteral("Tshujv_guanli"));
        if (!w) throw std::runtime_error("no window");
        if (auto *b = w->findChild<QAbstractButton *>(QStringLiteral("Button1"))) b->setEnabled(backup);
        if (auto *b = w->findChild<QAbstractButton *>(QStringLiteral("Button2"))) b->setEnabled(!backup);
        showModal(*w);
    } catch (const std::exception &) {
        messages().error(QStringLiteral("备份恢复窗体创建错误"));
    }
}

void TFmain::N37Click() { openDataManagement(true); }
void TFmain::N38Click() { openDataManagement(false); }

void TFmain::N39Click() { notYetProvided(); }

void TFmain::Timer_duanxinTimer()
{
    // Sending the queued SMS messages is not part of this window yet.
}

void TFmain::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery()) event->accept();
    else event->ignore();
}

bool TFmain::FormCloseQuery()
{
    if (!messages().question(QStringLiteral("确实要离开吗？"))) return false;
    if (session().DisplayPort != QStringLiteral("0")) com_rest();
    return true;
}
