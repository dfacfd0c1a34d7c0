#include "app/schema/Schema.h"

#include "app/Password.h"

#include <QHash>

namespace schema {

const char *const kSchemaVersion = "201306010010";

namespace {

// One table per line: "名称: 列 类型, 列 类型 ...; index 列+列, unique 列+列".
// Types: A auto-number, T text (T50: at most 50 characters, declared only), I integer,
// C currency, N number, D date/time, B yes/no.
const char *const kMain[] = {
    // Operators and system tables
    "登陆: id A, 用户 T, 密码 T, 部门 T, right1 T, right2 T, right3 T, right4 T, right5 T, right6 T, right7 T, right8 T, right9 T; index 用户",
    "短信帐户: id A, 用户名 T, 密码 T, 网关 T",
    "版本号: id A, 版本号 T",
    // Organisation
    "分店: id A, 分店 T",
    "库房名称: id A, 库房名称 T, 所属分店 T; index 所属分店",
    "导购员: id A, 姓名 T",
    // Goods
    "商品类型: id A, 商品类型 T",
    "品牌: id A, 品牌 T",
    "尺码规则: id A, 尺码规则 T",
    "商品尺码: id A, 尺码规则 T, 尺码 T, 排序编号 N; index 尺码规则+排序编号+id",
    "颜色组: id A, 颜色组 T",
    "颜色列表: id A, 颜色组 T, 颜色 T; index 颜色组",
    "商品列表: id A, 商品名称 T, 商品类别 T, 品牌 T, 货号 T, 尺码规则 T, 颜色组 T, 零售价格 C, 预设进价 C, 条码格式 T, 备注 T, 数量 N; index 货号",
    "商品条码表: id A, 商品编码 I, 商品货号 T, 颜色 T, 尺码 T, 商品条码 T; index 商品条码, index 商品编码+颜色+尺码",
    "尺码条码设置: id A, 商品编号 I, 尺码 T, 条码 T; index 商品编号+尺码",
    "颜色条码设置: id A, 商品编号 I, 颜色 T, 条码 T; index 商品编号+颜色",
    // Members, customers, suppliers (零售会员 keeps its fixed column order)
    "零售会员: id A, 客户类型 T, 客户地区 T, 联系电话 T, 客户姓名 T, 客户单位 T, 身份证号 T, 生日 D, 联系地址 T, 客户备注 T, 信用等级 T, 购物次数 N, 购物金额 C, 积分 N, 手工编码 T, 黑名单 T, QQ T, 帐户余额 C, 生日月 I, 生日日 I; index 手工编码, index 客户姓名, index 客户地区",
    "客户类型: id A, 客户类型 T, 折扣率 N",
    "区域: id A, 区域 T",
    "批发客户资料: id A, 客户名称 T, 联系人 T, 联系电话 T, 联系地址 T, 我方应收金额 C, 备注 T; index 客户名称",
    "供货商: id A, 供货商名称 T, 联系人 T, 联系电话 T, 联系地址 T, 我方应付金额 C, 备注 T; index 供货商名称",
    // Stock ledgers
    "库存总表: id A, 商品编码 I, 库房名称 T, 商品名称 T, 货号 T, 数量 N; unique 商品编码+库房名称, index 库房名称+商品编码, index 货号",
    "库存尺码表: id A, 商品编码 I, 库房名称 T, 商品尺码 T, 颜色 T, 数量 N, 商品名称 T, 商品条码 T, 货号 T; unique 商品编码+库房名称+商品尺码+颜色, index 库房名称+商品编码, index 商品条码, index 货号",
    // Purchase documents
    "出库入库总表: id A, 单据编号 T, 货单辅助编号 T, 单据类型 T, 填表日期 D, 库房名称 T, 供货商 T, 应付货款 C, 实付货款 C, 经手员工 T, 备注 T; unique 单据编号, index 货单辅助编号, index 填表日期",
    "出库入库明细表: id A, 单据编号 T, 填表日期 D, 库房名称 T, 经手员工 T, 单据类型 T, 商品编码 I, 商品名称 T, 货号 T, 数量 N, 进价 C, 金额 C, 临时码 T; index 单据编号, index 商品编码, index 临时码",
    "入库尺码明细表: id A, 单据编号 T, 商品编码 I, 尺码 T, 颜色 T, 数量 N, 临时码 T, 货号 T, 商品名称 T, 商品条码 T; index 单据编号, index 商品编码, index 临时码",
    // Stock counts
    "库存盘点总表: id A, 盘点编号 T, 辅助编号 T, 盘点时间 D, 库房名称 T, 盘点人 T, 盘点备注 T, 状态 T; unique 盘点编号, index 辅助编号, index 盘点时间",
    "库存盘点明细表: id A, 盘点编号 T, 商品编码 I, 商品名称 T, 商品条码 T, 尺码 T, 颜色 T, 货号 T, 单价 C, 账面数 N, 实盘数 N, 差异数 N, 备注 T; index 盘点编号, index 商品编码",
    // Sales and wholesale
    "销售总表: id A, 销售单号 T, 销售辅助单号 T, 销售类型 T, 日期时间 D, 操作员 T, 导购员 T, 会员卡号 T, 折后金额 C, 现金收入 C, 账户支付 C, 代金卷 C, 信用卡收取 C, 收款方式 T, 签单人 T, 获取积分 N, 交班完毕 T; unique 销售单号, index 销售辅助单号, index 日期时间, index 会员卡号",
    "销售明细表: 编号 A, 销售单号 T, 日期时间 D, 销售类型 T, 操作员 T, 品名 T, 条形码 T, 商品类别 T, 尺码 T, 颜色 T, 计量单位 T, 销售价 C, 打折 N, 数量 N, 可退数量 N, 金额合计 C, 利润 C, 导购员 T, 会员卡号 T; index 销售单号, index 日期时间, index 条形码",
    "批发明细表: id A, 单据编号 T, 填表日期 D, 库房名称 T, 经手员工 T, 单据类型 T, 商品编码 I, 商品名称 T, 货号 T, 数量 N, 进价 C, 金额 C; index 单据编号, index 填表日期, index 商品编码",
    // Histories
    "充值记录: id A, 客户编号 I, 客户姓名 T, 客户类型 T, 客户地区 T, 联系电话 T, 充值前余额 C, 充值金额 C, 充值后余额 C, 充值时间 D; index 客户编号, index 充值时间",
    "积分兑换记录: id A, 客户编号 I, 客户姓名 T, 兑换日期 D, 兑换礼品 T, 兑换积分 N, 备注 T; index 客户编号",
    // SMS outbox
    "fasongneirong: zdid A, shouji T, neirong T, xingming T, fssj D, fasongwanbi B, zt T; index fasongwanbi+zdid",
};

const char *const kScratch[] = {
    "入库临时表: ID A, 商品名称 T255, 商品编码 T255, 货号 T255, 临时码 T255, 单据编号 T, 进货单价 C, 金额 C, 数量 C; index 临时码",
    "入库尺码临时表: ID A, 商品编码 T255, 尺码 T255, 颜色 T255, 临时码 T255, 货号 T255, 商品名称 T50, 单据编号 T20, 商品条码 T50, 单价 C, 金额 C, 数量 I; index 临时码",
    "出库临时表: id A, 商品名称 T255, 商品编码 T255, 货号 T255, 临时码 T255, 数量 C, 单价 C, 金额 C; index 临时码",
    "出库尺码临时表: id A, 商品编码 T, 尺码 T, 颜色 T, 数量 N, 临时码 T, 商品名称 T, 商品类别 T, 条形码 T; index 临时码",
    "库存盘点临时表: 编号 A, 商品编码 T50, 商品名称 T50, 商品条码 T50, 尺码 T20, 颜色 T20, 货号 T20, 单价 C, 账面数 C, 实盘数 C, 差异数 C, 备注 T10; index 商品条码",
    "销售临时表: id A, 商品编码 T, 商品名称 T, 货号 T, 商品类别 T, 条形码 T, 尺码 T, 颜色 T, 单价 C, 折扣率 C, 销售价 C, 数量 C, 金额合计 C; index 条形码, index 商品编码+尺码+颜色",
    "版本号: 版本号 T50",
};

Type parseType(const QString &t);

Column parseColumn(const QString &name, QString t)
{
    int length = 0;
    if (t.size() > 1 && t.startsWith(u'T')) {
        length = t.mid(1).toInt();
        t = QStringLiteral("T");
    }
    return {name, parseType(t), length};
}

Type parseType(const QString &t)
{
    static const QHash<QString, Type> map = {
        {QStringLiteral("A"), Type::AutoNumber}, {QStringLiteral("T"), Type::Text},
        {QStringLiteral("I"), Type::Integer},    {QStringLiteral("C"), Type::Currency},
        {QStringLiteral("N"), Type::Number},     {QStringLiteral("D"), Type::DateTime},
        {QStringLiteral("B"), Type::Bool},
    };
    return map.value(t, Type::Text);
}

template <size_t N>
std::vector<Table> parse(const char *const (&lines)[N])
{
    std::vector<Table> out;
    for (const char *line : lines) {
        const QString s = QString::fromUtf8(line);
        const int colon = s.indexOf(u':');
        Table t;
        t.name = s.left(colon).trimmed();
        const QStringList parts = s.mid(colon + 1).split(u';');
        for (const QString &c : parts[0].split(u',', Qt::SkipEmptyParts)) {
            const QStringList nt = c.trimmed().split(u' ', Qt::SkipEmptyParts);
            t.columns.push_back(parseColumn(nt[0], nt[1]));
        }
        if (parts.size() > 1) {
            for (const QString &ix : parts[1].split(u',', Qt::SkipEmptyParts)) {
                const QStringList kw = ix.trimmed().split(u' ', Qt::SkipEmptyParts);
                t.indexes.push_back({kw[1].split(u'+'), kw[0] == u"unique"});
            }
        }
        out.push_back(std::move(t));
    }
    return out;
}

void createTable(Database &db, const Table &t)
{
    db.execute(createTableSql(t, db.engine()));
    for (const QString &ix : createIndexSql(t, db.engine()))
        db.execute(ix);
}

void recordVersion(Database &db)
{
    Query q(db);
    q.exec(QStringLiteral("delete from 版本号"));
    q.prepare(QStringLiteral("insert into 版本号 (版本号) values (:版本号)"));
    q.bind(QStringLiteral("版本号"), QString::fromLatin1(kSchemaVersion)).exec();
}

void createAll(Database &db, const std::vector<Table> &tables)
{
    Transaction tx(db);
    for (const Table &t : tables)
        createTable(db, t);
    recordVersion(db);
    tx.commit();
}

const QString kAllRights = QStringLiteral("11111111111111111111");

} // namespace

const Column *Table::column(const QString &n) const
{
    for (const Column &c : columns)
        if (c.name.compare(n, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

QString Table::keyColumn() const
{
    for (const Column &c : columns)
        if (c.type == Type::AutoNumber) return c.name;
    return QString();
}

const std::vector<Table> &mainTables()
{
    static const std::vector<Table> t = parse(kMain);
    return t;
}

const std::vector<Table> &scratchTables()
{
    static const std::vector<Table> t = parse(kScratch);
    return t;
}

const Table *findTable(const QString &name)
{
    for (const auto *list : {&mainTables(), &scratchTables()})
        for (const Table &t : *list)
            if (t.name == name) return &t;
    return nullptr;
}

Type columnType(const QString &table, const QString &column)
{
    const Table *t = findTable(table);
    const Column *c = t ? t->column(column) : nullptr;
    return c ? c->type : Type::Text;
}

bool isNumeric(Type t)
{
    return t == Type::Integer || t == Type::Currency || t == Type::Number || t == Type::AutoNumber;
}

QString columnSql(Type t, Engine e)
{
    const bool pg = e == Engine::PostgreSQL;
    switch (t) {
    case Type::AutoNumber: return pg ? QStringLiteral("integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
                                     : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case Type::Text: return QStringLiteral("TEXT");
    case Type::Integer: return pg ? QStringLiteral("integer") : QStringLiteral("INTEGER");
    case Type::Currency: return pg ? QStringLiteral("numeric(19,4)") : QStringLiteral("NUMERIC");
    case Type::Number: return pg ? QStringLiteral("numeric(19,4)") : QStringLiteral("NUMERIC");
    case Type::DateTime: return pg ? QStringLiteral("timestamp") : QStringLiteral("TEXT");
    case Type::Bool: return pg ? QStringLiteral("boolean DEFAULT false") : QStringLiteral("INTEGER DEFAULT 0");
    }
    return QStringLiteral("TEXT");
}

QString columnSql(const Column &c, Engine e)
{
    if (c.type == Type::Text && c.length > 0)
        return e == Engine::PostgreSQL ? QStringLiteral("varchar(%1)").arg(c.length)
                                       : QStringLiteral("TEXT(%1)").arg(c.length);
    return columnSql(c.type, e);
}

QString createTableSql(const Table &t, Engine e)
{
    QStringList cols;
    for (const Column &c : t.columns)
        cols << c.name + u' ' + columnSql(c, e);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(t.name, cols.join(QStringLiteral(", ")));
}

QStringList createIndexSql(const Table &t, Engine)
{
    QStringList out;
    int n = 0;
    for (const Index &ix : t.indexes) {
        ++n;
        // A unique index is named by its table and first column, so a start-up check
        // can add one to an older database under the same name ("ux_出库入库总表_单据编号").
        const QString name = ix.unique ? QStringLiteral("ux_%1_%2").arg(t.name, ix.columns.first())
                                       : QStringLiteral("ix_%1_%2").arg(t.name).arg(n);
        out << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                   .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), name, t.name, ix.columns.join(u','));
    }
    return out;
}

void createMainSchema(Database &db) { createAll(db, mainTables()); }

void createScratchSchema(Database &db) { createAll(db, scratchTables()); }

void createNewMainDatabase(Database &db)
{
    Transaction tx(db);
    createMainSchema(db);
    Query q(db);
    q.prepare(QStringLiteral("insert into 登陆 (用户,密码,部门,right1,right2,right3,right4,right5,right6,right7,right8,right9) "
                             "values (:用户,:密码,:部门,:r,:r,:r,:r,:r,:r,:r,:r,:r)"));
    q.bind(QStringLiteral("用户"), QStringLiteral("admin"))
        .bind(QStringLiteral("密码"), hashPassword(QString()))
        .bind(QStringLiteral("部门"), QStringLiteral("总部"))
        .bind(QStringLiteral("r"), kAllRights)
        .exec();
    tx.commit();
}

QStringList missingTables(Database &db, const std::vector<Table> &tables)
{
    QStringList out;
    for (const Table &t : tables)
        if (!db.tableExists(t.name)) out << t.name;
    return out;
}

void createMissingScratchTables(Database &db)
{
    Transaction tx(db);
    for (const Table &t : scratchTables())
        if (t.name != QStringLiteral("版本号") && !db.tableExists(t.name))
            createTable(db, t);
    tx.commit();
}

} // namespace schema
