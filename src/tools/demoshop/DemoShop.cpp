#include "tools/demoshop/DemoShop.h"

#include "masterdata/BarcodeGenerator.h"
#include "stock/DocumentNumbers.h"
#include "stock/StockLedger.h"

#include <QDate>
#include <QHash>
#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <vector>

namespace {

// Deterministic for a seed on every platform (the standard distributions are not).
class Rng {
public:
    explicit Rng(quint64 seed) : g_(seed) {}
    int below(int n) { return n <= 1 ? 0 : int(g_() % quint64(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }   // inclusive
    double unit() { return double(g_() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return unit() < p; }
private:
    std::mt19937_64 g_;
};

// Money rounded to whole cents, halves to even.
Money toCents(Money m)
{
    const int64_t u = m.units();
    int64_t q = u / 100, r = u % 100;
    if (r < 0) { r += 100; --q; }
    if (r > 50 || (r == 50 && (q & 1))) ++q;
    return Money::fromUnits(q * 100);
}

Money yuan(int y) { return Money::fromInt(y); }
Money cents(int64_t c) { return Money::fromUnits(c * 100); }

struct SizeRule { QString name; QStringList sizes; };
struct ColourGroup { QString name; QStringList colours; };

// A kind of garment: its category, size rule, colour groups and price range.
struct Kind {
    QString name, category, prefix;
    int rule;
    std::vector<int> groups;
    int priceLo, priceHi;
};

struct Article {
    qint64 id = 0;
    QString name, huohao, category, brand, format;
    int rule = 0, group = 0;
    Money price, cost;
    std::vector<QString> barcodes;   // index size * colours + colour
    std::vector<int> stock;          // index warehouse * variants + variant; kNoRow: no ledger row
};

constexpr int kNoRow = INT_MIN;

struct Member {
    QString card, name, type, region, phone;
    Money spent, balance, discount;   // discount: the type's 折扣率 (tenths)
    qint64 visits = 0, points = 0;
};

struct Customer { QString name; Money owed; };

struct Line {
    int article, variant;
    Money price;
    qint64 qty;
    int discount;   // percent on retail lines, 10 on wholesale
};

struct Sale {
    int seconds;            // time of day
    bool wholesale;
    int member = -1, customer = -1, guide = 0;
    int warehouse = -1;     // today's sales: the warehouse the goods leave
    std::vector<Line> lines;
    // Wholesale: the article lines, each with its quantity and the number of size
    // lines (in `lines`, in this order) that belong to it.
    struct ArticleLine { int article; qint64 qty; int sizeLines; };
    std::vector<ArticleLine> articleLines;
};

const char *const kSurnames = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史黎贺顾毛郝龚邵万钱覃武戴孔汤庞樊兰殷施陶洪翟安颜倪严牛温芦季俞章鲁葛伍申尤毕聂柴焦向柳邢岳齐沿梅莫庄辛管祝左涂谷祁时舒耿牟卜路詹关苗凌费纪靳盛童欧甄项曲成游阳裴席卫查屈鲍位覃霍翁隋植甘景薄单包司柏宁柯阮桂闵欧阳解强丛华车冉房边辜吉饶刁瞿戚丘古米池滕晋苑邬臧畅宫来嵺苟全褚廉简娄盖符奚木穆党燕郎邸冀谈姬屠连郜晏栾郁商蒙计喻揭窦迟宇敖糜鄢冷卓花艾蓝都巩稽井练仲乐虞卞封竺冼原官衣楚佟栗匡宗应台巫鞠僖桑荆谌银扬明沙薄伏岑习胥保和蔺";
const char *const kGiven = "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉兰萍鹏辉玲建国红文斌宇浩凯婷雪琳欣怡子涵梓轩晨阳佳慧嘉颖博文思雨俊杰雅琪志强海燕春梅秋菊冬梅晓东晓燕丹丹";

QString memberName(Rng &r)
{
    static const QString s = QString::fromUtf8(kSurnames);
    static const QString g = QString::fromUtf8(kGiven);
    QString n = s.mid(r.below(int(s.size())), 1);
    const int len = r.chance(0.6) ? 2 : 1;
    for (int i = 0; i < len; ++i) n += g.mid(r.below(int(g.size())), 1);
    return n;
}

QString digits(Rng &r, int n)
{
    QString t;
    t.reserve(n);
    for (int i = 0; i < n; ++i) t += QChar(u'0' + r.below(10));
    return t;
}

QString mobile(Rng &r)
{
    static const char *const heads[] = {"130", "131", "132", "135", "136", "137", "138", "139", "150", "151",
                                        "152", "158", "159", "186", "187", "188", "189"};
    return QString::fromLatin1(heads[r.below(17)]) + digits(r, 8);
}

// A well-formed (check digit included) but made-up identity card number.
QString identityNumber(Rng &r, const QDate &birthday)
{
    static const int w[] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    static const char check[] = "10X98765432";
    const QString body = QStringLiteral("3301%1").arg(r.between(1, 9), 2, 10, QChar(u'0'))
                         + birthday.toString(QStringLiteral("yyyyMMdd")) + digits(r, 3);
    int sum = 0;
    for (int i = 0; i < 17; ++i) sum += (body[i].unicode() - u'0') * w[i];
    return body + QChar(QLatin1Char(check[sum % 11]));
}

class Progress {
public:
    Progress(const DemoShopOptions &o, QString table, qint64 total) : o_(o), table_(std::move(table)), total_(total) {}
    void step(qint64 done)
    {
        if (o_.progress && (done % 100000 == 0))
            o_.progress(QStringLiteral("%1：%2/%3").arg(table_).arg(done).arg(total_));
    }
    void finish(qint64 done)
    {
        if (o_.progress)
            o_.progress(QStringLiteral("%1：%2 行").arg(table_).arg(done));
    }
private:
    const DemoShopOptions &o_;
    QString table_;
    qint64 total_;
};

// Inserts rows of one table many at a time, in the order they are added: one
// multi-row statement per batch (up to 500 rows, fewer for wide tables), prepared
// once. Only rows that neither draw a number nor move stock go this way (detail
// and history rows, master data); on PostgreSQL every statement is a round trip,
// so a batch of hundreds of rows costs little more than one row. flush() writes
// what is pending; nothing is written from the destructor.
class RowWriter {
public:
    RowWriter(Database &db, const QString &table, const QStringList &columns)
        : db_(db), table_(table), columns_(columns), width_(int(columns.size())),
          batchRows_(std::clamp(16000 / std::max(1, width_), 1, 500)), batch_(db)
    {
        for (int r = 0; r < batchRows_; ++r)
            for (int c = 0; c < width_; ++c) names_ << QStringLiteral("v%1_%2").arg(r).arg(c);
        batch_.prepare(statement(batchRows_));
        pending_.reserve(size_t(batchRows_));
    }
    void add(QVariantList row)
    {
        pending_.push_back(std::move(row));
        if (int(pending_.size()) == batchRows_) flush();
    }
    void flush()
    {
        if (pending_.empty()) return;
        const int rows = int(pending_.size());
        // The last, shorter batch gets a statement of its own length.
        std::unique_ptr<Query> rest;
        if (rows < batchRows_) {
            rest = std::make_unique<Query>(db_);
            rest->prepare(statement(rows));
        }
        Query &q = rest ? *rest : batch_;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < width_; ++c) q.bind(names_[r * width_ + c], pending_[size_t(r)][c]);
        q.exec();
        pending_.clear();
    }
private:
    QString statement(int rows) const
    {
        QString sql = QStringLiteral("insert into %1 (%2) values ").arg(table_, columns_.join(u','));
        for (int r = 0; r < rows; ++r) {
            sql += r ? QStringLiteral(",(") : QStringLiteral("(");
            for (int c = 0; c < width_; ++c) sql += (c ? QStringLiteral(",:") : QStringLiteral(":")) + names_[r * width_ + c];
            sql += u')';
        }
        return sql;
    }
    Database &db_;
    QString table_;
    QStringList columns_;
    int width_, batchRows_;
    Query batch_;
    QStringList names_;
    std::vector<QVariantList> pending_;
};

// One row per statement, the parameters named after the columns: how a posting
// writes its header and lines.
class RowInserter {
public:
    RowInserter(Database &db, const QString &table, const QStringList &columns) : q_(db), columns_(columns)
    {
        q_.prepare(QStringLiteral("insert into %1 (%2) values (:%3)").arg(table, columns.join(u','), columns.join(QStringLiteral(",:"))));
    }
    void insert(const QVariantList &values)
    {
        for (int c = 0; c < columns_.size(); ++c) q_.bind(columns_[c], values[c]);
        q_.exec();
    }
private:
    Query q_;
    QStringList columns_;
};

QStringList columnList(const char *utf8) { return QString::fromUtf8(utf8).split(u','); }

} // namespace

struct DemoShop::Impl {
    Database &db;
    const DemoShopOptions &opt;
    Rng rng;
    DemoShopSummary sum;

    std::vector<SizeRule> rules;
    std::vector<ColourGroup> groups;
    QHash<QString, QString> colourCode;
    std::vector<Kind> kinds;
    QStringList brands, guides, warehouses, whBranch, suppliers;
    std::vector<std::pair<QString, Money>> memberTypes;
    QStringList regions;
    std::vector<Article> articles;
    std::vector<Member> members;
    std::vector<Customer> customers;

    Impl(Database &d, const DemoShopOptions &o) : db(d), opt(o), rng(o.seed) {}

    static QStringList list(const char *t) { return QString::fromUtf8(t).split(u' ', Qt::SkipEmptyParts); }

    int variants(const Article &a) const { return int(rules[a.rule].sizes.size() * groups[a.group].colours.size()); }

    void run()
    {
        {
            Query q(db);
            q.exec(QStringLiteral("select count(*) as n from 商品列表"));
            if (q.next() && q.integer(QStringLiteral("n")) > 0)
                throw DbError(QStringLiteral("店铺里已有商品资料，演示数据只能生成在新店铺里"));
        }
        if (db.isSqlite()) {
            db.execute(QStringLiteral("PRAGMA cache_size=-262144"));
            db.execute(QStringLiteral("PRAGMA temp_store=MEMORY"));
        }
        defineCatalogue();
        writeMasterData();
        makeArticles();
        writeArticles();
        writeBarcodes();
        planStock();
        postReceipts();
        makePeople();
        writeSales();
        writePeople();
        countStockRows();
        if (db.isSqlite())
            db.execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }

    void defineCatalogue()
    {
        rules = {{QStringLiteral("上衣码"), list("S M L XL XXL XXXL")},
                 {QStringLiteral("裤码"), list("27 28 29 30 31 32")},
                 {QStringLiteral("女装码"), list("XS S M L XL XXL")},
                 {QStringLiteral("鞋码"), list("37 38 39 40 41 42")},
                 {QStringLiteral("童装码"), list("100 110 120 130 140 150")},
                 {QStringLiteral("均码"), list("均码")}};
        groups = {{QStringLiteral("基础色"), list("黑色 白色 灰色 藏青色 卡其色")},
                  {QStringLiteral("春夏色"), list("白色 浅蓝色 粉色 浅黄色 薄荷绿")},
                  {QStringLiteral("秋冬色"), list("黑色 酒红色 驼色 墨绿色 深灰色")},
                  {QStringLiteral("牛仔色"), list("浅蓝色 中蓝色 深蓝色 黑色 灰色")},
                  {QStringLiteral("童装色"), list("红色 黄色 蓝色 粉色 绿色")}};
        // One code per colour name, whatever group it appears in.
        for (const ColourGroup &g : groups)
            for (const QString &c : g.colours)
                if (!colourCode.contains(c))
                    colourCode.insert(c, QStringLiteral("%1").arg(colourCode.size() + 1, 2, 10, QChar(u'0')));
        kinds = {{QStringLiteral("短袖T恤"), QStringLiteral("T恤"), QStringLiteral("TX"), 0, {0, 1}, 39, 159},
                 {QStringLiteral("长袖T恤"), QStringLiteral("T恤"), QStringLiteral("TC"), 0, {0, 2}, 59, 199},
                 {QStringLiteral("衬衫"), QStringLiteral("衬衫"), QStringLiteral("CS"), 0, {0, 1}, 89, 299},
                 {QStringLiteral("卫衣"), QStringLiteral("卫衣"), QStringLiteral("WY"), 0, {0, 2}, 99, 329},
                 {QStringLiteral("针织毛衣"), QStringLiteral("毛衣"), QStringLiteral("MY"), 0, {2}, 129, 499},
                 {QStringLiteral("夹克"), QStringLiteral("外套"), QStringLiteral("JK"), 0, {0, 2}, 199, 699},
                 {QStringLiteral("风衣"), QStringLiteral("外套"), QStringLiteral("FY"), 2, {0, 2}, 259, 899},
                 {QStringLiteral("羽绒服"), QStringLiteral("羽绒服"), QStringLiteral("YR"), 0, {0, 2}, 299, 1299},
                 {QStringLiteral("牛仔裤"), QStringLiteral("裤装"), QStringLiteral("NZ"), 1, {3}, 99, 399},
                 {QStringLiteral("休闲裤"), QStringLiteral("裤装"), QStringLiteral("XK"), 1, {0}, 89, 299},
                 {QStringLiteral("运动裤"), QStringLiteral("裤装"), QStringLiteral("YK"), 1, {0}, 69, 229},
                 {QStringLiteral("连衣裙"), QStringLiteral("裙装"), QStringLiteral("LY"), 2, {1, 2}, 129, 599},
                 {QStringLiteral("半身裙"), QStringLiteral("裙装"), QStringLiteral("BQ"), 2, {1, 0}, 79, 299},
                 {QStringLiteral("运动鞋"), QStringLiteral("鞋类"), QStringLiteral("YX"), 3, {0}, 159, 699},
                 {QStringLiteral("休闲鞋"), QStringLiteral("鞋类"), QStringLiteral("XX"), 3, {0, 2}, 129, 499},
                 {QStringLiteral("儿童套装"), QStringLiteral("童装"), QStringLiteral("TZ"), 4, {4}, 69, 259},
                 {QStringLiteral("儿童外套"), QStringLiteral("童装"), QStringLiteral("TW"), 4, {4}, 99, 359},
                 {QStringLiteral("围巾"), QStringLiteral("配饰"), QStringLiteral("WJ"), 5, {0, 2}, 29, 199},
                 {QStringLiteral("棒球帽"), QStringLiteral("配饰"), QStringLiteral("BM"), 5, {0}, 29, 129}};
        brands = list("青禾 木棉道 北极星 晨光 远山 溪岸 南风 铭品");
        guides = list("王芳 李娜 张伟 刘洋 陈静 杨敏");
        warehouses = list("总仓 东城店仓 西城店仓 次品仓");
        whBranch = list("总部 东城店 西城店 总部");
        memberTypes = {{QStringLiteral("普通会员"), yuan(10)}, {QStringLiteral("银卡会员"), *Money::parse(QStringLiteral("9.5"))},
                       {QStringLiteral("金卡会员"), yuan(9)}, {QStringLiteral("钻石会员"), *Money::parse(QStringLiteral("8.5"))}};
        regions = list("城东区 城西区 城南区 城北区 开发区 郊县");
    }

    // Writes one name column of a small master table.
    void names(const QString &table, const QString &column, const QStringList &values)
    {
        Query q(db);
        q.prepare(QStringLiteral("insert into %1 (%2) values (:v)").arg(table, column));
        for (const QString &v : values) q.bind(QStringLiteral("v"), v).exec();
    }

    void writeMasterData()
    {
        Transaction tx(db);
        names(QStringLiteral("分店"), QStringLiteral("分店"), list("总部 东城店 西城店"));
        {
            Query q(db);
            q.prepare(QStringLiteral("insert into 库房名称 (库房名称,所属分店) values (:库房名称,:所属分店)"));
            for (int i = 0; i < warehouses.size(); ++i)
                q.bind(QStringLiteral("库房名称"), warehouses[i]).bind(QStringLiteral("所属分店"), whBranch[i]).exec();
        }
        names(QStringLiteral("导购员"), QStringLiteral("姓名"), guides);
        QStringList categories;
        for (const Kind &k : kinds)
            if (!categories.contains(k.category)) categories << k.category;
        names(QStringLiteral("商品类型"), QStringLiteral("商品类型"), categories);
        names(QStringLiteral("品牌"), QStringLiteral("品牌"), brands);
        {
            QStringList ruleNames;
            for (const SizeRule &r : rules) ruleNames << r.name;
            names(QStringLiteral("尺码规则"), QStringLiteral("尺码规则"), ruleNames);
            Query q(db);
            q.prepare(QStringLiteral("insert into 商品尺码 (尺码规则,尺码,排序编号) values (:尺码规则,:尺码,:排序编号)"));
            for (const SizeRule &r : rules)
                for (int i = 0; i < r.sizes.size(); ++i)
                    q.bind(QStringLiteral("尺码规则"), r.name).bind(QStringLiteral("尺码"), r.sizes[i]).bind(QStringLiteral("排序编号"), i + 1).exec();
        }
        {
            QStringList groupNames;
            for (const ColourGroup &g : groups) groupNames << g.name;
            names(QStringLiteral("颜色组"), QStringLiteral("颜色组"), groupNames);
            Query q(db);
            q.prepare(QStringLiteral("insert into 颜色列表 (颜色组,颜色) values (:颜色组,:颜色)"));
            for (const ColourGroup &g : groups)
                for (const QString &c : g.colours) q.bind(QStringLiteral("颜色组"), g.name).bind(QStringLiteral("颜色"), c).exec();
        }
        {
            Query q(db);
            q.prepare(QStringLiteral("insert into 客户类型 (客户类型,折扣率) values (:客户类型,:折扣率)"));
            for (const auto &[name, rate] : memberTypes)
                q.bind(QStringLiteral("客户类型"), name).bind(QStringLiteral("折扣率"), QVariant::fromValue(rate)).exec();
        }
        names(QStringLiteral("区域"), QStringLiteral("区域"), regions);
        {
            const QStringList cities = list("杭州 广州 深圳 苏州 温州 泉州 东莞 宁波 青岛 武汉 成都 石狮");
            const QStringList words = list("华美 锦绣 恒达 盛源 雅致 天成 万家 金丰 新潮 美尔");
            const QStringList kindsOf = list("服饰有限公司 制衣厂 服装有限公司 针织厂 鞋业有限公司");
            Query q(db);
            q.prepare(QStringLiteral("insert into 供货商 (供货商名称,联系人,联系电话,联系地址,我方应付金额,备注) "
                        "values (:供货商名称,:联系人,:联系电话,:联系地址,:我方应付金额,:备注)"));
            const int n = std::clamp(opt.articles / 500, 8, 60);
            for (int i = 0; i < n; ++i) {
                const QString city = cities[rng.below(int(cities.size()))];
                const QString name = city + words[i % words.size()] + kindsOf[(i / words.size()) % kindsOf.size()];
                suppliers << (i < words.size() * kindsOf.size() ? name : name + QString::number(i));
                q.bind(QStringLiteral("供货商名称"), suppliers.back())
                    .bind(QStringLiteral("联系人"), memberName(rng))
                    .bind(QStringLiteral("联系电话"), mobile(rng))
                    .bind(QStringLiteral("联系地址"), city + QStringLiteral("市工业园区") + QString::number(rng.between(1, 300)) + QStringLiteral("号"))
                    .bind(QStringLiteral("我方应付金额"), QVariant::fromValue(rng.chance(0.6) ? cents(qint64(rng.between(0, 5000000))) : Money()))
                    .bind(QStringLiteral("备注"), QString())
                    .exec();
            }
        }
        tx.commit();
    }

    void makeArticles()
    {
        articles.resize(size_t(opt.articles));
        const int width = std::max(5, int(QString::number(opt.articles).size()));
        const QStringList styles = list("韩版 修身 宽松 简约 复古 潮流 百搭 商务 休闲 时尚 经典 加厚 薄款 印花 条纹 纯色 撞色 落肩 高腰 直筒");
        const QStringList fabrics = list("纯棉 亚麻 真丝 羊毛 涤纶 莫代尔 牛仔 灯芯绒 针织 雪纺");
        const QString pipe = QStringLiteral("货号+颜色+尺码"), swapped = QStringLiteral("货号+尺码+颜色");
        for (int i = 0; i < opt.articles; ++i) {
            Article &a = articles[size_t(i)];
            const Kind &k = kinds[size_t(rng.below(int(kinds.size())))];
            // Shoes, down jackets and accessories are not named after a fabric.
            const bool fabric = k.rule != 3 && k.rule != 5 && k.prefix != u"YR" && rng.chance(0.5);
            a.name = styles[rng.below(int(styles.size()))] + (fabric ? fabrics[rng.below(int(fabrics.size()))] : QString()) + k.name;
            a.huohao = k.prefix + QStringLiteral("%1").arg(i + 1, width, 10, QChar(u'0'));
            a.category = k.category;
            a.brand = brands[rng.below(int(brands.size()))];
            a.rule = k.rule;
            a.group = k.groups[size_t(rng.below(int(k.groups.size())))];
            // Prices end in 9 or 0 most of the time, with cents now and then.
            int whole = rng.between(k.priceLo, k.priceHi);
            whole = whole - whole % 10 + (rng.chance(0.7) ? 9 : 0);
            a.price = rng.chance(0.1) ? yuan(whole) + cents(50) : yuan(whole);
            a.cost = toCents(a.price * Money::fromUnits(rng.between(3800, 6000)));
            a.format = rng.chance(0.15) ? swapped : pipe;
            const SizeRule &r = rules[size_t(a.rule)];
            const ColourGroup &g = groups[size_t(a.group)];
            a.barcodes.reserve(size_t(r.sizes.size() * g.colours.size()));
            for (int si = 0; si < r.sizes.size(); ++si) {
                const QString sc = QStringLiteral("%1").arg(si + 1, 2, 10, QChar(u'0'));
                for (const QString &c : g.colours) {
                    const QString cc = colourCode.value(c);
                    a.barcodes.push_back(BarcodeGenerator::compose(a.format, a.huohao, sc, cc));
                }
            }
        }
    }

    // The stock each article is to have per warehouse, size and colour. The
    // purchase receipts bring exactly this in; today's sales then take from it.
    void planStock()
    {
        static const double carried[] = {0.85, 0.5, 0.5, 0.03};
        for (Article &a : articles) {
            const int nv = variants(a);
            a.stock.assign(size_t(nv * warehouses.size()), kNoRow);
            for (int w = 0; w < warehouses.size(); ++w) {
                if (!rng.chance(carried[w])) continue;
                bool any = false;
                for (int v = 0; v < nv; ++v) {
                    if (!rng.chance(0.7)) continue;
                    const int q = rng.chance(0.1) ? 0 : (rng.chance(0.7) ? rng.between(1, 6) : rng.between(7, 30));
                    a.stock[size_t(w * nv + v)] = q;
                    any = true;
                }
                if (!any) a.stock[size_t(w * nv)] = 0;   // a carried article has at least one row
            }
        }
    }

    void writeArticles()
    {
        // 商品列表.数量 starts at 0 like a new article's: the receipts bring the stock in.
        Transaction tx(db);
        RowWriter w(db, QStringLiteral("商品列表"), columnList("商品名称,商品类别,品牌,货号,尺码规则,颜色组,零售价格,预设进价,条码格式,备注,数量"));
        Progress p(opt, QStringLiteral("商品列表"), qint64(articles.size()));
        qint64 n = 0;
        for (const Article &a : articles) {
            w.add({a.name, a.category, a.brand, a.huohao, rules[size_t(a.rule)].name, groups[size_t(a.group)].name,
                   QVariant::fromValue(a.price), QVariant::fromValue(a.cost), a.format, QString(), 0});
            p.step(++n);
        }
        w.flush();
        tx.commit();
        p.finish(n);
        QHash<QString, qint64> ids;
        Query r(db);
        r.exec(QStringLiteral("select id,货号 from 商品列表"));
        while (r.next()) ids.insert(r.text(QStringLiteral("货号")), r.integer(QStringLiteral("id")));
        for (Article &a : articles) a.id = ids.value(a.huohao);
        sum.articles = qint64(articles.size());
    }

    void writeBarcodes()
    {
        {
            Transaction tx(db);
            RowWriter qs(db, QStringLiteral("尺码条码设置"), columnList("商品编号,尺码,条码"));
            RowWriter qc(db, QStringLiteral("颜色条码设置"), columnList("商品编号,颜色,条码"));
            for (const Article &a : articles) {
                const SizeRule &r = rules[size_t(a.rule)];
                for (int si = 0; si < r.sizes.size(); ++si) {
                    qs.add({a.id, r.sizes[si], QStringLiteral("%1").arg(si + 1, 2, 10, QChar(u'0'))});
                    ++sum.sizeCodes;
                }
                for (const QString &c : groups[size_t(a.group)].colours) {
                    qc.add({a.id, c, colourCode.value(c)});
                    ++sum.colourCodes;
                }
            }
            qs.flush();
            qc.flush();
            tx.commit();
            if (opt.progress) opt.progress(QStringLiteral("尺码条码设置、颜色条码设置：%1 行").arg(sum.sizeCodes + sum.colourCodes));
        }
        // The barcodes themselves are composed by the program's own generator.
        std::vector<qint64> ids;
        ids.reserve(articles.size());
        for (const Article &a : articles) ids.push_back(a.id);
        const int every = std::max(1, int(ids.size()) / 5);
        const BarcodeGenerator::Result r = BarcodeGenerator(db).generate(ids, [this, every](int done, int total) {
            if (opt.progress && (done % every == 0) && done < total)
                opt.progress(QStringLiteral("商品条码表：%1/%2 个商品").arg(done).arg(total));
            return true;
        });
        sum.barcodes = r.barcodes;
        if (opt.progress) opt.progress(QStringLiteral("商品条码表：%1 行").arg(sum.barcodes));
    }

    bool hasRow(const Article &a, int w) const
    {
        const int nv = variants(a);
        for (int v = 0; v < nv; ++v)
            if (a.stock[size_t(w * nv + v)] != kNoRow) return true;
        return false;
    }

    // The stock comes in through purchase receipts, posted as the program posts
    // them: per receipt a number from the number rule for the receipt's day, the
    // header, then per article line AdjustArticleTotal and AdjustWarehouseStock
    // with its detail row, then per size line AdjustSizeStock with its size detail
    // row. Each receipt has its own transaction guard, nested in one transaction
    // for them all (one commit instead of a thousand). The detail rows, which
    // neither draw a number nor move stock, are written many to a statement.
    void postReceipts()
    {
        struct Receipt { QDate day; int warehouse, supplier, guide; std::vector<int> articles; };
        std::vector<Receipt> receipts;
        const QDate today = opt.now.date();
        for (int w = 0; w < warehouses.size(); ++w) {
            std::vector<int> carried;
            for (int ai = 0; ai < int(articles.size()); ++ai)
                if (hasRow(articles[size_t(ai)], w)) carried.push_back(ai);
            for (size_t i = 0; i < carried.size();) {
                Receipt r;
                r.day = today.addDays(-rng.between(1, 364));
                r.warehouse = w;
                r.supplier = rng.below(int(suppliers.size()));
                r.guide = rng.below(int(guides.size()));
                const size_t n = size_t(rng.between(10, 40));
                r.articles.assign(carried.begin() + qint64(i), carried.begin() + qint64(std::min(i + n, carried.size())));
                i += n;
                receipts.push_back(std::move(r));
            }
        }
        std::stable_sort(receipts.begin(), receipts.end(), [](const Receipt &a, const Receipt &b) { return a.day < b.day; });

        const QString kind = QStringLiteral("采购入库");
        Transaction all(db);
        StockLedger ledger(db);
        Query head(db);
        head.prepare(QStringLiteral("insert into 出库入库总表 (单据编号,货单辅助编号,单据类型,填表日期,库房名称,供货商,应付货款,实付货款,经手员工,备注) "
                                    "values (:单据编号,:货单辅助编号,:单据类型,:填表日期,:库房名称,:供货商,:应付货款,:实付货款,:经手员工,:备注)"));
        RowWriter lines(db, QStringLiteral("出库入库明细表"),
                        columnList("填表日期,单据编号,库房名称,经手员工,单据类型,商品编码,商品名称,货号,数量,进价,金额,临时码"));
        RowWriter sizeLines(db, QStringLiteral("入库尺码明细表"), columnList("单据编号,商品编码,尺码,颜色,数量,临时码,货号,商品名称,商品条码"));
        qint64 lineNo = 0;
        for (const Receipt &r : receipts) {
            Transaction posting(db);
            const DocumentNumber number = NextDocumentNumber(db, DocumentKind::PurchaseReceipt, r.day);
            const QString &wh = warehouses[r.warehouse];
            const QString &guide = guides[r.guide];
            std::vector<qint64> qty(r.articles.size(), 0);
            Money due;
            for (size_t k = 0; k < r.articles.size(); ++k) {
                const Article &a = articles[size_t(r.articles[k])];
                const int nv = variants(a);
                for (int v = 0; v < nv; ++v)
                    if (const int s = a.stock[size_t(r.warehouse * nv + v)]; s != kNoRow) qty[k] += s;
                due += a.cost * Money::fromInt(qty[k]);
            }
            const Money paid = rng.chance(0.7) ? due : toCents(due * Money::fromUnits(rng.between(3000, 9000)));
            head.bind(QStringLiteral("单据编号"), number.number).bind(QStringLiteral("货单辅助编号"), number.auxiliary)
                .bind(QStringLiteral("单据类型"), kind).bind(QStringLiteral("填表日期"), r.day).bind(QStringLiteral("库房名称"), wh)
                .bind(QStringLiteral("供货商"), suppliers[r.supplier]).bind(QStringLiteral("应付货款"), QVariant::fromValue(due))
                .bind(QStringLiteral("实付货款"), QVariant::fromValue(paid)).bind(QStringLiteral("经手员工"), guide)
                .bind(QStringLiteral("备注"), QString()).exec();
            // The entry key of each article line: decimal text, unique in the shop.
            std::vector<QString> keys;
            for (size_t k = 0; k < r.articles.size(); ++k) {
                const Article &a = articles[size_t(r.articles[k])];
                keys.push_back(QString::number(r.day.toJulianDay() * 100000 + (++lineNo % 100000)));
                const Money n = Money::fromInt(qty[k]);
                if (!ledger.AdjustArticleTotal(a.id, n))
                    throw DbError(QStringLiteral("入库的商品不存在：%1").arg(a.id));
                ledger.AdjustWarehouseStock(a.id, wh, n, {a.name, a.huohao, std::nullopt});
                lines.add({r.day, number.number, wh, guide, kind, a.id, a.name, a.huohao, qty[k],
                           QVariant::fromValue(a.cost), QVariant::fromValue(a.cost * n), keys.back()});
            }
            for (size_t k = 0; k < r.articles.size(); ++k) {
                const Article &a = articles[size_t(r.articles[k])];
                const QStringList &sizes = rules[size_t(a.rule)].sizes;
                const QStringList &colours = groups[size_t(a.group)].colours;
                const int nv = variants(a);
                for (int v = 0; v < nv; ++v) {
                    const int s = a.stock[size_t(r.warehouse * nv + v)];
                    if (s == kNoRow) continue;
                    const QString &size = sizes[v / colours.size()], &colour = colours[v % colours.size()];
                    const QString &barcode = a.barcodes[size_t(v)];
                    ledger.AdjustSizeStock(a.id, wh, size, colour, Money::fromInt(s), {a.name, a.huohao, barcode});
                    sizeLines.add({number.number, a.id, size, colour, s, keys[k], a.huohao, a.name, barcode});
                }
            }
            posting.commit();
            ++sum.receipts;
            if (sum.receipts % 500 == 0 && opt.progress)
                opt.progress(QStringLiteral("采购入库单：%1/%2").arg(sum.receipts).arg(receipts.size()));
        }
        lines.flush();
        sizeLines.flush();
        all.commit();
        if (opt.progress)
            opt.progress(QStringLiteral("采购入库单：%1 张，%2 个商品行").arg(sum.receipts).arg(lineNo));
    }

    void makePeople()
    {
        const int n = std::max(20, opt.articles);
        members.resize(size_t(n));
        for (int i = 0; i < n; ++i) {
            Member &m = members[size_t(i)];
            m.card = QStringLiteral("VIP%1").arg(i + 1, 6, 10, QChar(u'0'));
            m.name = memberName(rng);
            const int t = rng.chance(0.55) ? 0 : rng.chance(0.6) ? 1 : rng.chance(0.7) ? 2 : 3;
            m.type = memberTypes[size_t(t)].first;
            m.discount = memberTypes[size_t(t)].second;
            m.region = regions[rng.below(int(regions.size()))];
            m.phone = rng.chance(0.1) ? mobile(rng) + u',' + mobile(rng) : mobile(rng);
            m.balance = rng.chance(0.3) ? yuan(rng.between(1, 200) * 10) : Money();
        }
        const QStringList shops = list("张记服装店 李氏服饰 阳光服装批发部 时尚前线 丽人坊 金色年华服饰 都市衣橱 星星童装 好运来鞋服 新世纪商场");
        const int c = std::clamp(opt.articles / 1000, 5, 40);
        for (int i = 0; i < c; ++i)
            customers.push_back({i < shops.size() ? shops[i] : shops[i % shops.size()] + QString::number(i / shops.size() + 1),
                                 rng.chance(0.3) ? yuan(rng.between(1, 500) * 10) : Money()});
    }


    void writePeople()
    {
        Transaction tx(db);
        RowWriter w(db, QStringLiteral("零售会员"),
                    columnList("客户类型,客户地区,联系电话,客户姓名,客户单位,身份证号,生日,联系地址,客户备注,信用等级,"
                               "购物次数,购物金额,积分,手工编码,黑名单,QQ,帐户余额,生日月,生日日"));
        const QStringList units = list("市第一中学 人民医院 建设银行 电力公司 自由职业 个体经营 软件园 市政府");
        const QStringList streets = list("解放路 人民路 中山路 建设路 文化路 和平街 新华街 长江路");
        Progress p(opt, QStringLiteral("零售会员"), qint64(members.size()));
        for (const Member &m : members) {
            const QDate birthday(rng.between(1960, 2005), rng.between(1, 12), rng.between(1, 28));
            // Braced lists are evaluated left to right, so the draws keep their order.
            w.add({m.type, m.region, m.phone, m.name,
                   rng.chance(0.5) ? units[rng.below(int(units.size()))] : QString(),
                   rng.chance(0.4) ? identityNumber(rng, birthday) : QString(),
                   birthday,
                   m.region + streets[rng.below(int(streets.size()))] + QString::number(rng.between(1, 999)) + QStringLiteral("号"),
                   QString(),
                   rng.chance(0.8) ? QStringLiteral("好") : rng.chance(0.7) ? QStringLiteral("中") : QStringLiteral("差"),
                   m.visits, QVariant::fromValue(m.spent), m.points, m.card,
                   rng.chance(0.01) ? QStringLiteral("是") : QStringLiteral("否"),
                   rng.chance(0.4) ? QString::number(rng.between(10000, 99999)) + digits(rng, 4) : QString(),
                   QVariant::fromValue(m.balance), birthday.month(), birthday.day()});
            p.step(++sum.members);
        }
        w.flush();
        Query c(db);
        c.prepare(QStringLiteral("insert into 批发客户资料 (客户名称,联系人,联系电话,联系地址,我方应收金额,备注) "
                    "values (:客户名称,:联系人,:联系电话,:联系地址,:我方应收金额,:备注)"));
        for (const Customer &k : customers)
            c.bind(QStringLiteral("客户名称"), k.name).bind(QStringLiteral("联系人"), memberName(rng)).bind(QStringLiteral("联系电话"), mobile(rng))
                .bind(QStringLiteral("联系地址"), regions[rng.below(int(regions.size()))] + streets[rng.below(int(streets.size()))]
                                     + QString::number(rng.between(1, 999)) + QStringLiteral("号"))
                .bind(QStringLiteral("我方应收金额"), QVariant::fromValue(k.owed)).bind(QStringLiteral("备注"), QString()).exec();
        tx.commit();
        p.finish(sum.members);
    }

    // An article, the popular ones more often.
    int pickArticle()
    {
        const double u = rng.unit();
        return std::min(int(articles.size()) - 1, int(double(articles.size()) * u * u));
    }

    // For a sale of today, which moves stock: a variant of the article in warehouse
    // w for q pieces, one with enough stock if there is one (searching from
    // `start`), else one that has a row there, else `start`; the planned stock is
    // lowered at once, so the next line sees what is left.
    int takeFrom(Article &a, int w, qint64 q, int start)
    {
        const int nv = variants(a);
        int chosen = -1, withRow = -1;
        for (int k = 0; k < nv && chosen < 0; ++k) {
            const int v = (start + k) % nv;
            const int s = a.stock[size_t(w * nv + v)];
            if (s == kNoRow) continue;
            if (s >= q) chosen = v;
            else if (withRow < 0) withRow = v;
        }
        if (chosen < 0) chosen = withRow >= 0 ? withRow : start;
        int &s = a.stock[size_t(w * nv + chosen)];
        s = (s == kNoRow ? 0 : s) - int(q);
        return chosen;
    }

    // An article that has stock rows in warehouse w (a few tries), drawn by `draw`.
    template <typename Draw> int articleIn(int w, Draw draw)
    {
        int ai = draw();
        for (int tries = 0; tries < 50 && w >= 0 && !hasRow(articles[size_t(ai)], w); ++tries) ai = draw();
        return ai;
    }

    // Lines of one sale, at most `room` of them. A sale of today (warehouse >= 0)
    // takes its goods from that warehouse's stock.
    Sale makeSale(int seconds, bool wholesale, qint64 room, int warehouse = -1)
    {
        Sale sale;
        sale.seconds = seconds;
        sale.wholesale = wholesale;
        sale.warehouse = warehouse;
        sale.guide = rng.below(int(guides.size()));
        if (wholesale) {
            sale.customer = rng.below(int(customers.size()));
            const int nArticles = rng.between(2, 5);
            for (int i = 0; i < nArticles && qint64(sale.lines.size()) < room; ++i) {
                const int ai = articleIn(warehouse, [this] { return rng.below(int(articles.size())); });
                Article &a = articles[size_t(ai)];
                const Money price = toCents(a.price * Money::fromUnits(rng.between(5000, 6500)));
                const int nv = int(a.barcodes.size());
                const int nSizes = std::min(nv, rng.between(1, 4));
                const int first = rng.below(nv);
                qint64 qty = 0;
                int sizeLines = 0;
                for (int k = 0; k < nSizes && qint64(sale.lines.size()) < room; ++k) {
                    const qint64 q = rng.between(3, 20);
                    const int v = warehouse >= 0 ? takeFrom(a, warehouse, q, (first + k) % nv) : (first + k) % nv;
                    sale.lines.push_back({ai, v, price, q, 10});
                    qty += q;
                    ++sizeLines;
                }
                sale.articleLines.push_back({ai, qty, sizeLines});
            }
            return sale;
        }
        if (rng.chance(0.35)) sale.member = rng.below(int(members.size()));
        const double u = rng.unit();
        const int n = int(std::min<qint64>(room, u < 0.5 ? 1 : u < 0.8 ? 2 : u < 0.95 ? 3 : 4));
        for (int i = 0; i < n; ++i) {
            const int ai = articleIn(warehouse, [this] { return pickArticle(); });
            Article &a = articles[size_t(ai)];
            int pct = 100;
            if (sale.member >= 0)
                pct = int((members[size_t(sale.member)].discount * yuan(10)).units() / Money::kScale);
            else if (rng.chance(0.15))
                pct = rng.chance(0.6) ? 90 : 80;
            const Money price = toCents(a.price * Money::fromInt(pct) / yuan(100));
            const qint64 q = rng.chance(0.9) ? 1 : rng.chance(0.8) ? 2 : 3;
            const int drawn = rng.below(int(a.barcodes.size()));
            sale.lines.push_back({ai, warehouse >= 0 ? takeFrom(a, warehouse, q, drawn) : drawn, price, q, pct});
        }
        return sale;
    }

    // A year of sales. The history before today is written many rows to a
    // statement: it neither moves stock (the receipts brought in the stock the shop
    // has now) nor goes through the number rule (its numbers are composed in the
    // rule's form, day by day). Today's sales are posted as the checkout and the
    // wholesale window post them: number from the number rule, header, stock out
    // through the ledger, lines, one transaction each.
    void writeSales()
    {
        const QDate today = opt.now.date();
        const int days = 365;
        // Weights per day, oldest first: weekends busier, the run-up to the spring
        // festival and the autumn busiest, today only as far as it has gone.
        std::vector<double> w(days, 0.0);
        double total = 0;
        for (int i = 0; i < days; ++i) {
            const QDate d = today.addDays(i - days + 1);
            double x = d.dayOfWeek() >= 6 ? 1.6 : 1.0;
            if (d.month() == 1 || d.month() == 10 || d.month() == 11) x *= 1.3;
            if (i == days - 1) x *= std::max(0.3, opt.now.time().msecsSinceStartOfDay() / 86400000.0);
            w[size_t(i)] = x;
            total += x;
        }
        const int nowSecs = opt.now.time().msecsSinceStartOfDay() / 1000;

        const QStringList headColumns = columnList("销售辅助单号,销售单号,操作员,日期时间,账户支付,现金收入,代金卷,信用卡收取,收款方式,折后金额,"
                                                   "签单人,交班完毕,会员卡号,获取积分,销售类型,导购员");
        const QStringList lineColumns = columnList("品名,条形码,计量单位,销售价,销售单号,数量,可退数量,金额合计,操作员,日期时间,打折,利润,"
                                                   "销售类型,商品类别,尺码,颜色");
        const QStringList wholesaleColumns = columnList("填表日期,单据编号,库房名称,经手员工,单据类型,商品名称,商品编码,数量,货号,进价,金额");
        Transaction tx(db);
        RowWriter head(db, QStringLiteral("销售总表"), headColumns);
        RowWriter line(db, QStringLiteral("销售明细表"), lineColumns);
        RowWriter wline(db, QStringLiteral("批发明细表"), wholesaleColumns);
        // Today's postings: one row per statement, as the windows write them.
        std::unique_ptr<StockLedger> ledger;
        std::unique_ptr<RowInserter> postHead, postLine, postWline;

        const QString admin = QStringLiteral("admin"), retail = QStringLiteral("零售"), whole = QStringLiteral("批发"), set = QStringLiteral("套");
        const QString yes = QStringLiteral("是"), no = QStringLiteral("否"), receiptKind = QStringLiteral("采购入库");
        const QVariant nullText(QMetaType::fromType<QString>());
        Progress p(opt, QStringLiteral("销售明细表"), opt.saleLines);

        double cumulative = 0;
        qint64 planned = 0, written = 0;
        for (int di = 0; di < days && !articles.empty(); ++di) {
            cumulative += w[size_t(di)];
            const qint64 upto = di == days - 1 ? opt.saleLines : qint64(double(opt.saleLines) * cumulative / total + 0.5);
            planned = upto;
            const QDate day = today.addDays(di - days + 1);
            const bool isToday = di == days - 1;
            int from = 9 * 3600, to = 21 * 3600 + 1800;
            if (isToday) {
                to = std::max(1, std::min(to, nowSecs));
                from = std::max(0, std::min(from, to - 3600));
                head.flush();
                line.flush();
                wline.flush();
                ledger = std::make_unique<StockLedger>(db);
                postHead = std::make_unique<RowInserter>(db, QStringLiteral("销售总表"), headColumns);
                postLine = std::make_unique<RowInserter>(db, QStringLiteral("销售明细表"), lineColumns);
                postWline = std::make_unique<RowInserter>(db, QStringLiteral("批发明细表"), wholesaleColumns);
            }
            std::vector<Sale> sales;
            int counts[2] = {0, 0};
            qint64 dayLines = 0;
            while (written + dayLines < planned) {
                bool wholesale = !customers.empty() && rng.chance(0.03);
                if (counts[wholesale] >= 9999) wholesale = !wholesale;   // four-digit daily counters
                if (counts[wholesale] >= 9999 || (wholesale && customers.empty())) break;
                // Today's retail sales leave one of the shops' warehouses, wholesales the main one.
                const int warehouse = !isToday ? -1 : wholesale ? 0 : 1 + rng.below(std::max(1, int(warehouses.size()) - 2));
                Sale sale = makeSale(rng.between(from, to - 1), wholesale, planned - written - dayLines, warehouse);
                dayLines += qint64(sale.lines.size());
                ++counts[wholesale];
                sales.push_back(std::move(sale));
            }
            std::stable_sort(sales.begin(), sales.end(), [](const Sale &a, const Sale &b) { return a.seconds < b.seconds; });
            const QString dayText = day.toString(QStringLiteral("yyyy-MM-dd"));
            const QString dayDigits = day.toString(QStringLiteral("yyyyMMdd"));
            int counter[2] = {0, 0};
            for (const Sale &sale : sales) {
                const int t = sale.seconds;
                const QString moment = dayText + QString::asprintf(" %02d:%02d:%02d", t / 3600, t / 60 % 60, t % 60);
                const DocumentKind docKind = sale.wholesale ? DocumentKind::Wholesale : DocumentKind::RetailSale;
                std::unique_ptr<Transaction> posting;
                DocumentNumber number;
                if (isToday) {
                    posting = std::make_unique<Transaction>(db);
                    number = NextDocumentNumber(db, docKind, day);
                } else {
                    number.auxiliary = dayDigits + QStringLiteral("%1").arg(++counter[sale.wholesale], counterDigits(docKind), 10, QChar(u'0'));
                    number.number = documentPrefix(docKind) + number.auxiliary;
                }
                Money amount;
                for (const Line &l : sale.lines) amount += l.price * Money::fromInt(l.qty);
                const QString &kind = sale.wholesale ? whole : retail;
                const QString &guide = guides[sale.guide];
                const QString &handed = isToday ? no : yes;
                QVariantList headRow;
                if (sale.wholesale) {
                    Customer &c = customers[size_t(sale.customer)];
                    Money paid = amount;
                    if (rng.chance(0.4)) paid = yuan(int(amount.toDouble() * (0.3 + 0.5 * rng.unit()) / 100) * 100);
                    c.owed += amount - paid;
                    // What the wholesale posting leaves empty stays null.
                    headRow = {number.auxiliary, number.number, admin, moment, nullText, QVariant::fromValue(paid), nullText, nullText,
                               nullText, QVariant::fromValue(amount), nullText, handed, nullText, nullText, kind, guide};
                    ++sum.wholesales;
                } else {
                    Money cash = amount, account, voucher, card;
                    if (sale.member >= 0 && rng.chance(0.15)) {
                        account = amount; cash = Money();
                    } else if (rng.chance(0.25)) {
                        card = amount; cash = Money();
                    } else if (amount >= yuan(100) && rng.chance(0.07)) {
                        voucher = yuan(50); cash = amount - voucher;
                    }
                    QString cardNo;
                    Money points;
                    if (sale.member >= 0) {
                        Member &m = members[size_t(sale.member)];
                        cardNo = m.card;
                        points = amount;     // the points divisor of a new shop is 1
                        ++m.visits;
                        m.spent += amount;
                        m.points += amount.units() / Money::kScale;
                    }
                    headRow = {number.auxiliary, number.number, admin, moment, QVariant::fromValue(account), QVariant::fromValue(cash),
                               QVariant::fromValue(voucher), QVariant::fromValue(card), nullText, QVariant::fromValue(amount),
                               nullText, handed, cardNo, QVariant::fromValue(points), kind, guide};
                }
                if (isToday) postHead->insert(headRow);
                else head.add(std::move(headRow));

                auto lineRow = [&](const Line &l) -> QVariantList {
                    const Article &a = articles[size_t(l.article)];
                    const QStringList &colours = groups[size_t(a.group)].colours;
                    const Money lineAmount = l.price * Money::fromInt(l.qty);
                    return {a.name, a.barcodes[size_t(l.variant)], set, QVariant::fromValue(l.price), number.number, l.qty, l.qty,
                            QVariant::fromValue(lineAmount), admin, moment, l.discount, QVariant::fromValue(lineAmount), kind,
                            a.category, rules[size_t(a.rule)].sizes[l.variant / colours.size()], colours[l.variant % colours.size()]};
                };
                auto wholesaleRow = [&](const Sale::ArticleLine &al) -> QVariantList {
                    const Article &a = articles[size_t(al.article)];
                    return {day, number.number, warehouses[0], guide, receiptKind, a.name, a.id, al.qty, a.huohao,
                            QVariant::fromValue(Money()), QVariant::fromValue(Money())};
                };
                if (!isToday) {
                    for (const Sale::ArticleLine &al : sale.articleLines) wline.add(wholesaleRow(al));
                    for (const Line &l : sale.lines) {
                        line.add(lineRow(l));
                        p.step(++sum.saleLines);
                    }
                } else if (sale.wholesale) {
                    // Per article line: its 批发明细表 row, its size lines out of the
                    // size stock with their 销售明细表 rows, then the article's stores.
                    const QString &wh = warehouses[sale.warehouse];
                    size_t li = 0;
                    for (const Sale::ArticleLine &al : sale.articleLines) {
                        const Article &a = articles[size_t(al.article)];
                        postWline->insert(wholesaleRow(al));
                        for (int k = 0; k < al.sizeLines; ++k, ++li) {
                            const Line &l = sale.lines[li];
                            const QStringList &colours = groups[size_t(a.group)].colours;
                            ledger->AdjustSizeStock(a.id, wh, rules[size_t(a.rule)].sizes[l.variant / colours.size()],
                                                    colours[l.variant % colours.size()], -Money::fromInt(l.qty), {a.name, {}, {}},
                                                    {a.name, {}, {}});
                            postLine->insert(lineRow(l));
                            p.step(++sum.saleLines);
                        }
                        ledger->AdjustWarehouseStock(a.id, wh, -Money::fromInt(al.qty));
                        if (!ledger->AdjustArticleTotal(a.id, -Money::fromInt(al.qty)))
                            throw DbError(QStringLiteral("批发的商品不存在：%1").arg(a.id));
                    }
                } else {
                    // Per cart line: size stock, warehouse stock, article total, line.
                    const QString &wh = warehouses[sale.warehouse];
                    for (const Line &l : sale.lines) {
                        const Article &a = articles[size_t(l.article)];
                        const QStringList &colours = groups[size_t(a.group)].colours;
                        const StockDescription d{a.name, a.huohao, a.barcodes[size_t(l.variant)]};
                        const Money n = Money::fromInt(l.qty);
                        ledger->AdjustSizeStock(a.id, wh, rules[size_t(a.rule)].sizes[l.variant / colours.size()],
                                                colours[l.variant % colours.size()], -n, d, d);
                        ledger->AdjustWarehouseStock(a.id, wh, -n);
                        if (!ledger->AdjustArticleTotal(a.id, -n))
                            throw DbError(QStringLiteral("销售的商品不存在：%1").arg(a.id));
                        postLine->insert(lineRow(l));
                        p.step(++sum.saleLines);
                    }
                }
                if (posting) posting->commit();
                ++sum.sales;
                if (isToday) ++sum.todaySales;
            }
            written += dayLines;
        }
        head.flush();
        line.flush();
        wline.flush();
        tx.commit();
        p.finish(sum.saleLines);
    }

    void countStockRows()
    {
        Query q(db);
        q.exec(QStringLiteral("select count(*) as n from 库存总表"));
        if (q.next()) sum.warehouseRows = q.integer(QStringLiteral("n"));
        q.exec(QStringLiteral("select count(*) as n from 库存尺码表"));
        if (q.next()) sum.sizeStockRows = q.integer(QStringLiteral("n"));
    }
};

DemoShop::DemoShop(Database &db, DemoShopOptions options) : db_(db), opt_(std::move(options)) {}

DemoShopSummary DemoShop::generate()
{
    Impl impl(db_, opt_);
    impl.run();
    return impl.sum;
}
