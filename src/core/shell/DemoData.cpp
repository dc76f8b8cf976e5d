#include "DemoData.h"
#include "AccountSets.h"
#include "data/DataModule.h"
#include "data/DbDataSet.h"
#include "data/SqliteStatement.h"
#include "shell/AppError.h"

#include <QDate>
#include <QDir>
#include <QHash>
#include <cmath>

namespace {

struct Step {
    QString name;
    std::function<void(TDemoContext &)> run;
};

QList<Step> &Steps()
{
    static QList<Step> steps;
    return steps;
}

// One prepared insert reused for every row of a table.
class Inserter {
public:
    Inserter(const QSqlDatabase &db, const QString &sql) : m_st(db, sql) {}
    void operator()(const QVariantList &values)
    {
        m_st.reset();
        m_st.bind(values);
        m_st.run();
    }

private:
    SqliteStatement m_st;
};

void Exec(const QSqlDatabase &db, const QString &sql, const QVariantList &params = {})
{
    SqliteStatement st(db, sql);
    st.bind(params);
    st.run();
}

// Keys handed out here must not come again from the key table.
void AdvanceKey(const QSqlDatabase &db, const QString &table, const QString &keyColumn)
{
    Exec(db,
         QStringLiteral("update TablesID set NextID=max(NextID,(select coalesce(max(%1),0)+1 from %2)) where TableName=?")
             .arg(keyColumn, table),
         {table});
}

const QStringList kSurnames = QStringLiteral("王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭 何 林 高 罗 郑 梁 谢 宋 唐 许 韩 冯 邓 曹 彭 曾 萧 田 董 潘 袁 蔡 蒋 余").split(QLatin1Char(' '));
const QStringList kGivenNames = QStringLiteral("伟 芳 娜 敏 静 丽 强 磊 洋 艳 勇 军 杰 娟 涛 明 超 秀英 霞 平 刚 桂英 晓东 海燕 建华 志强 雪梅 丹 婷 欣怡 子涵 浩然 思远 佳琪 文博 雨萱 俊杰 梦瑶 宇航 晨曦").split(QLatin1Char(' '));

QString PersonName(TDemoContext &c)
{
    return kSurnames.at(c.random(kSurnames.size())) + kGivenNames.at(c.random(kGivenNames.size()));
}

QString MobileNumber(TDemoContext &c)
{
    static const char *prefixes[] = {"138", "139", "136", "137", "150", "151", "158", "159", "186", "187", "188", "189"};
    return QString::fromLatin1(prefixes[c.random(12)]) + QString::number(10000000 + c.random(89999999));
}

// --- areas: a coded tree, two digits per level --------------------------------------------------

struct AreaNode {
    const char *code;
    const char *name;
    const char *city = nullptr;   // the city a shop there is named after
    const char *phone = nullptr;  // its telephone area code
};

const AreaNode kAreas[] = {
    {"10", "华东"},
    {"1001", "上海", "上海", "021"}, {"100101", "浦东新区", "上海", "021"}, {"100102", "黄浦区", "上海", "021"},
    {"100103", "徐汇区", "上海", "021"},
    {"1002", "江苏"}, {"100201", "南京", "南京", "025"}, {"100202", "苏州", "苏州", "0512"},
    {"100203", "无锡", "无锡", "0510"},
    {"1003", "浙江"}, {"100301", "杭州", "杭州", "0571"}, {"100302", "宁波", "宁波", "0574"},
    {"100303", "温州", "温州", "0577"},
    {"1004", "福建"}, {"100401", "厦门", "厦门", "0592"}, {"100402", "福州", "福州", "0591"},
    {"100403", "泉州", "泉州", "0595"},
    {"11", "华北"},
    {"1101", "北京", "北京", "010"}, {"110101", "朝阳区", "北京", "010"}, {"110102", "海淀区", "北京", "010"},
    {"1102", "天津", "天津", "022"}, {"1103", "河北"}, {"110301", "石家庄", "石家庄", "0311"},
    {"12", "华南"},
    {"1201", "广东"}, {"120101", "广州", "广州", "020"}, {"120102", "深圳", "深圳", "0755"},
    {"120103", "东莞", "东莞", "0769"}, {"120104", "佛山", "佛山", "0757"},
    {"13", "华中"},
    {"1301", "湖北"}, {"130101", "武汉", "武汉", "027"}, {"1302", "湖南"}, {"130201", "长沙", "长沙", "0731"},
    {"1303", "河南"}, {"130301", "郑州", "郑州", "0371"},
    {"14", "西南"},
    {"1401", "四川"}, {"140101", "成都", "成都", "028"}, {"1402", "重庆", "重庆", "023"},
    {"1403", "云南"}, {"140301", "昆明", "昆明", "0871"},
    {"15", "西北"},
    {"1501", "陕西"}, {"150101", "西安", "西安", "029"},
};

// Shops: city, the place in it, the street address.
struct ShopPlace {
    const char *city;
    const char *place;
    const char *address;
};

const ShopPlace kShopPlaces[] = {
    {"上海", "南京东路店", "上海市黄浦区南京东路 588 号"},
    {"杭州", "湖滨银泰店", "杭州市上城区延安路 258 号湖滨银泰 in77 B1"},
    {"南京", "新街口店", "南京市秦淮区中山南路 1 号新百商场 3 楼"},
    {"苏州", "观前街店", "苏州市姑苏区观前街 245 号"},
    {"北京", "西单大悦城店", "北京市西城区西单北大街 131 号 4 层"},
    {"广州", "天河城店", "广州市天河区天河路 208 号天河城 2 楼"},
    {"深圳", "万象城店", "深圳市罗湖区宝安南路 1881 号 L3"},
    {"成都", "春熙路店", "成都市锦江区春熙路 9 号"},
    {"武汉", "江汉路店", "武汉市江汉区江汉路 118 号"},
    {"重庆", "解放碑店", "重庆市渝中区民族路 188 号"},
    {"长沙", "五一广场店", "长沙市芙蓉区黄兴中路 188 号"},
    {"厦门", "中山路店", "厦门市思明区中山路 166 号"},
    {"宁波", "天一广场店", "宁波市海曙区中山东路 188 号"},
    {"天津", "滨江道店", "天津市和平区滨江道 219 号"},
    {"西安", "钟楼店", "西安市碑林区东大街 1 号开元商城 2 楼"},
    {"郑州", "二七广场店", "郑州市二七区人民路 3 号"},
    {"昆明", "南屏街店", "昆明市五华区南屏街 88 号"},
    {"无锡", "崇安寺店", "无锡市梁溪区中山路 168 号"},
    {"福州", "东街口店", "福州市鼓楼区八一七北路 68 号"},
    {"佛山", "祖庙店", "佛山市禅城区祖庙路 33 号"},
};

// --- styles ------------------------------------------------------------------------------------

struct Category {
    const char *code;
    const char *name;
    const char *styleLetters = nullptr;   // leaves only: the letters in the style code
    char gender = 0;                      // M men, W women, K children, A accessories
    int sizeGroup = 0;                    // 2 tops, 3 trousers, 4 children, 5 one size
    const char *unit = "件";
    int priceLow = 0, priceHigh = 0;      // tag price range
    const char *nouns = nullptr;          // what a style of it is called, '|' separated
    const char *details = nullptr;
};

const Category kCategories[] = {
    {"10", "男装"},
    {"1001", "衬衫", "CS", 'M', 2, "件", 199, 599, "衬衫|牛津纺衬衫|商务衬衫", "长袖|短袖|立领|纽扣领|暗门襟"},
    {"1002", "T恤", "TX", 'M', 2, "件", 79, 299, "T恤|POLO衫|印花T恤", "短袖|长袖|圆领|V领|翻领"},
    {"1003", "外套", "WT", 'M', 2, "件", 399, 1599, "夹克|风衣|羽绒服|西装|棉服", "连帽|立领|双排扣|单排扣|中长款"},
    {"1004", "裤装", "KZ", 'M', 3, "条", 199, 699, "牛仔裤|休闲裤|西裤|工装裤", "直筒|小脚|九分|束脚|微弹"},
    {"1005", "针织衫", "ZZ", 'M', 2, "件", 259, 899, "毛衣|针织开衫|卫衣", "圆领|高领|V领|拉链|套头"},
    {"11", "女装"},
    {"1101", "衬衫", "CS", 'W', 2, "件", 199, 599, "衬衫|雪纺衫|衬衣", "长袖|泡泡袖|荷叶边|系带|娃娃领"},
    {"1102", "T恤", "TX", 'W', 2, "件", 79, 299, "T恤|短款T恤|打底衫", "短袖|长袖|圆领|一字领|落肩"},
    {"1103", "外套", "WT", 'W', 2, "件", 399, 1699, "风衣|大衣|羽绒服|小西装|针织外套", "双排扣|收腰|连帽|中长款|短款"},
    {"1104", "裤装", "KZ", 'W', 3, "条", 199, 699, "阔腿裤|牛仔裤|西装裤|打底裤", "高腰|九分|直筒|垂感|微喇"},
    {"1105", "裙装", "QZ", 'W', 2, "条", 199, 699, "半身裙|百褶裙|包臀裙", "A字|高腰|中长|开衩|碎花"},
    {"1106", "连衣裙", "LQ", 'W', 2, "件", 299, 999, "连衣裙|衬衫裙|吊带裙", "收腰|碎花|V领|长袖|无袖"},
    {"12", "童装"},
    {"1201", "上衣", "SY", 'K', 4, "件", 69, 299, "T恤|卫衣|衬衫|外套", "卡通|字母|条纹|连帽|拼色"},
    {"1202", "裤装", "KZ", 'K', 4, "条", 69, 259, "运动裤|牛仔裤|休闲裤", "松紧腰|加绒|束脚|宽松"},
    {"1203", "套装", "TZ", 'K', 4, "套", 129, 399, "运动套装|家居套装|校服套装", "卡通|条纹|纯色|拼色"},
    {"13", "配饰"},
    {"1301", "围巾", "WJ", 'A', 5, "条", 99, 499, "围巾|披肩", "格纹|纯色|流苏|双面"},
    {"1302", "帽子", "MZ", 'A', 5, "顶", 59, 259, "棒球帽|针织帽|渔夫帽", "刺绣|纯色|字母|毛球"},
    {"1303", "包袋", "BD", 'A', 5, "个", 129, 699, "托特包|双肩包|斜挎包", "帆布|真皮|尼龙|链条"},
};

const QStringList kMaterials = QStringLiteral("纯棉 亚麻 真丝 莫代尔 天丝 羊毛 羊绒 牛仔 灯芯绒 棉麻 针织 涤纶").split(QLatin1Char(' '));
const QStringList kFits = QStringLiteral("修身 宽松 休闲 商务 简约 复古 时尚 基础款").split(QLatin1Char(' '));

// A tag price that ends in 9, as clothing prices do.
int TagPrice(TDemoContext &c, int low, int high)
{
    const int tens = c.between(low / 10, high / 10);
    return tens * 10 + 9;
}

void FillCompany(TDemoContext &c)
{
    c.companyName = QStringLiteral("杭州衣尚服饰有限公司");
    Exec(c.db, QStringLiteral("delete from company"));
    Exec(c.db,
         QStringLiteral("insert into company(name,address,postcode,phone,bank,accountname,accountnum,taxnum)"
                        " values(?,?,?,?,?,?,?,?)"),
         {c.companyName, QStringLiteral("浙江省杭州市西湖区文三路 398 号东信大厦 12 楼"), QStringLiteral("310013"),
          QStringLiteral("0571-88076543"), QStringLiteral("中国工商银行杭州西湖支行"), c.companyName,
          QStringLiteral("1202 0212 0990 0123 456"), QStringLiteral("91330106MA2B1C3D4E")});
}

QHash<QString, int> FillAreas(TDemoContext &c)
{
    QHash<QString, int> byName;   // city -> AreaID of its most specific node
    Inserter insert(c.db, QStringLiteral("insert into Area(AreaID,cArCode,cArName) values(?,?,?)"));
    int id = 0;
    for (const AreaNode &a : kAreas) {
        insert({++id, QLatin1String(a.code), QString::fromUtf8(a.name)});
        if (a.city)
            byName.insert(QString::fromUtf8(a.city), id);
    }
    AdvanceKey(c.db, QStringLiteral("Area"), QStringLiteral("AreaID"));
    return byName;
}

QList<int> FillDepartments(TDemoContext &c)
{
    const char *names[][2] = {{"总经理办公室", "行政与总务"}, {"采购部", "面料、成衣采购"},
                              {"销售部", "批发与加盟业务"}, {"零售事业部", "直营门店管理"},
                              {"仓储物流部", "总仓收发与配送"}, {"财务部", "核算与资金管理"},
                              {"电商部", "网店运营"}};
    Inserter insert(c.db, QStringLiteral("insert into Department(DepartmentID,cDepCode,cDepName,cDepPerson,cDepPhone,"
                                         "cDepAddress,cDepMemo) values(?,?,?,?,?,?,?)"));
    QList<int> ids;
    for (int i = 0; i < 7; ++i) {
        const int id = i + 1;
        insert({id, QString::number(id), QString::fromUtf8(names[i][0]), PersonName(c),
                QStringLiteral("0571-8807%1").arg(6500 + i * 11), QStringLiteral("杭州市西湖区文三路 398 号"),
                QString::fromUtf8(names[i][1])});
        ids << id;
    }
    AdvanceKey(c.db, QStringLiteral("Department"), QStringLiteral("DepartmentID"));
    return ids;
}

void FillStores(TDemoContext &c, const QHash<QString, int> &areas, const QList<int> &departments)
{
    // The template's head warehouse stays the first store.
    Exec(c.db, QStringLiteral("update Store set cStoName=?,cStoAddress=?,cStoPhone=?,DepartmentID=?,AreaID=?,"
                              "cStoMemo=? where StoreID=1"),
         {QStringLiteral("总仓库"), QStringLiteral("杭州市余杭区仓前街道龙潭路 7 号"), QStringLiteral("0571-88076600"),
          departments.value(4), areas.value(QStringLiteral("杭州")), QStringLiteral("总仓，负责收货与配送")});
    c.storeIds << 1;
    Inserter insert(c.db, QStringLiteral("insert into Store(StoreID,DepartmentID,AreaID,cStoName,cStoAddress,cStoPhone,"
                                         "iStoDeduct,cStoValueStyle,bStoDefaultFlag,cStoMemo) values(?,?,?,?,?,?,?,?,0,?)"));
    const int places = int(std::size(kShopPlaces));
    for (int i = 0; i < c.options.shops; ++i) {
        const ShopPlace &p = kShopPlaces[i % places];
        const int round = i / places;
        const QString city = QString::fromUtf8(p.city);
        QString name = city + QString::fromUtf8(p.place);
        if (round > 0)
            name = city + QStringLiteral("%1号店").arg(round * places + i % places + 1);
        const int id = i + 2;
        QString phoneCode;
        for (const AreaNode &a : kAreas)
            if (a.city && city == QString::fromUtf8(a.city))
                phoneCode = QString::fromLatin1(a.phone);
        insert({id, departments.value(3), areas.value(city), name, QString::fromUtf8(p.address),
                QString(phoneCode + QStringLiteral("-%1").arg(6000000 + c.random(3999999))),
                // A shop counter in a department store pays a commission; a street shop pays none.
                name.contains(QStringLiteral("街")) || name.contains(QStringLiteral("路")) ? 0.0 : 0.18 + 0.01 * c.random(10),
                QStringLiteral("移动加权平均"), QStringLiteral("直营门店")});
        c.storeIds << id;
    }
    AdvanceKey(c.db, QStringLiteral("Store"), QStringLiteral("StoreID"));
}

void FillVendors(TDemoContext &c, const QHash<QString, int> &areas)
{
    struct V {
        const char *shortName, *name, *city, *address;
    };
    const V vendors[] = {
        {"恒丰针织", "宁波恒丰针织有限公司", "宁波", "宁波市鄞州区钟公庙街道天童南路 1088 号"},
        {"裕隆制衣", "东莞裕隆制衣厂", "东莞", "东莞市虎门镇龙眼工业区 18 号"},
        {"汇锦牛仔", "广州新塘汇锦牛仔服装厂", "广州", "广州市增城区新塘镇港口大道 36 号"},
        {"锦绣丝绸", "苏州吴江锦绣丝绸有限公司", "苏州", "苏州市吴江区盛泽镇舜新路 66 号"},
        {"华美纺织", "杭州华美纺织品有限公司", "杭州", "杭州市萧山区衙前镇项漾村"},
        {"海韵服饰", "青岛海韵服饰有限公司", "天津", "天津市西青区开发区兴华道 12 号"},
        {"宏达辅料", "石狮宏达纽扣辅料厂", "泉州", "泉州市石狮市宝盖镇塘后工业区"},
        {"瓯江皮具", "温州瓯江皮革制品有限公司", "温州", "温州市鹿城区双屿街道鞋都大道 8 号"},
        {"澄星毛纺", "江阴澄星毛纺有限公司", "无锡", "无锡市江阴市新桥镇工业园"},
        {"南海织染", "佛山南海织染有限公司", "佛山", "佛山市南海区西樵镇纺织基地 9 号"},
        {"浦江制衣", "上海浦江制衣有限公司", "上海", "上海市浦东新区康桥工业区秀浦路 200 号"},
        {"晋兴童装", "泉州晋兴童装有限公司", "泉州", "泉州市晋江市陈埭镇江头工业区"},
    };
    Inserter insert(c.db, QStringLiteral("insert into Vendor(VendorID,cVenCode,cVenShortName,cVenName,AreaID,cVenPerson,"
                                         "cVenPhone,cVenFax,cVenEmail,cVenBP,cVenPostCode,cVenAddress,cVenBank,cVenAccount,"
                                         "cVenTaxCode,iVenBMoney) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    int id = 0;
    for (const V &v : vendors) {
        ++id;
        insert({id, QStringLiteral("GYS%1").arg(id, 3, 10, QLatin1Char('0')), QString::fromUtf8(v.shortName),
                QString::fromUtf8(v.name), areas.value(QString::fromUtf8(v.city)), PersonName(c),
                QStringLiteral("0%1-%2").arg(570 + c.random(200)).arg(80000000 + c.random(9999999)), QString(),
                QStringLiteral("sales%1@example.cn").arg(id), MobileNumber(c),
                QString::number(310000 + c.random(200000)), QString::fromUtf8(v.address),
                QStringLiteral("中国农业银行"), QStringLiteral("1901 %1 %2").arg(1000 + c.random(8999)).arg(100000 + c.random(899999)),
                QStringLiteral("9133%1").arg(10000000 + c.random(89999999)), double(c.random(5) * 10000)});
        c.vendorIds << id;
    }
    AdvanceKey(c.db, QStringLiteral("Vendor"), QStringLiteral("VendorID"));
}

void FillCustomers(TDemoContext &c, const QHash<QString, int> &areas)
{
    Exec(c.db, QStringLiteral("insert into customerC(CustomerCID,cCusCCode,cCusCName) values"
                              "(1,'01','加盟商'),(2,'02','批发客户'),(3,'03','团购客户'),(4,'04','零售客户')"));
    struct K {
        const char *shortName, *name, *city;
        int kind;
        double discount;
    };
    const K customers[] = {
        {"零售客户", "门店零售客户", "杭州", 4, 1.0},
        {"南昌衣佳人", "南昌红谷滩衣佳人服饰店", "武汉", 1, 0.65},
        {"合肥名媛坊", "合肥市名媛坊服装商行", "南京", 1, 0.65},
        {"绍兴轻纺城批发", "绍兴柯桥轻纺城衣尚批发部", "杭州", 2, 0.55},
        {"义乌小商品城", "义乌国际商贸城服装批发行", "杭州", 2, 0.55},
        {"常州衣尚加盟店", "常州市天宁区衣尚服饰加盟店", "无锡", 1, 0.68},
        {"嘉兴衣尚加盟店", "嘉兴市南湖区衣尚服饰专卖", "杭州", 1, 0.68},
        {"广州十三行", "广州十三行新中国大厦 6 楼 6018 档", "广州", 2, 0.5},
        {"虎门富民商业城", "东莞虎门富民商业城 A 区 112 档", "东莞", 2, 0.5},
        {"济南泉城加盟店", "济南泉城路衣尚加盟店", "天津", 1, 0.7},
        {"石家庄北国商城", "石家庄北国商城衣尚专柜", "石家庄", 1, 0.72},
        {"昆明顺城加盟店", "昆明顺城购物中心衣尚专卖", "昆明", 1, 0.7},
        {"华为工会团购", "深圳坂田某科技公司工会委员会", "深圳", 3, 0.8},
        {"杭州第二中学", "杭州市第二中学校服采购", "杭州", 3, 0.85},
        {"厦门鹭岛服饰", "厦门鹭岛服饰贸易有限公司", "厦门", 2, 0.58},
        {"郑州银基批发", "郑州银基商贸城 3 楼 3125 档", "郑州", 2, 0.55},
        {"成都荷花池", "成都荷花池批发市场大成交易区 2 楼", "成都", 2, 0.52},
        {"西安骡马市", "西安骡马市步行街衣尚加盟店", "西安", 1, 0.7},
        {"长沙高桥", "长沙高桥大市场服装城 B 区", "长沙", 2, 0.55},
        {"福州东百", "福州东百中心衣尚专柜", "福州", 1, 0.72},
    };
    Inserter insert(c.db, QStringLiteral("insert into Customer(CustomerID,CustomerCID,AreaID,cCusCode,cCusName,cCusShortName,"
                                         "cCusPerson,cCusPhone,cCusEmail,cCusBP,cCusPostCode,cCusAddress,cCusBank,cCusAccount,"
                                         "iCusDiscount,iCusCredit,dCusBeginDate,iCusBMoney,cCusMemo)"
                                         " values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    int id = 0;
    for (const K &k : customers) {
        ++id;
        const bool retail = k.kind == 4;
        insert({id, k.kind, areas.value(QString::fromUtf8(k.city)), QStringLiteral("KH%1").arg(id, 3, 10, QLatin1Char('0')),
                QString::fromUtf8(k.name), QString::fromUtf8(k.shortName), retail ? QString() : PersonName(c),
                retail ? QString() : MobileNumber(c), QString(), retail ? QString() : MobileNumber(c),
                QString(), QString::fromUtf8(k.name), QString(), QString(), k.discount,
                retail ? 0.0 : double(50000 + 10000 * c.random(10)), QStringLiteral("2023-01-01"),
                retail ? 0.0 : double(c.random(8) * 5000), retail ? QStringLiteral("门店散客零售") : QString()});
        c.customerIds << id;
    }
    AdvanceKey(c.db, QStringLiteral("Customer"), QStringLiteral("CustomerID"));
}

QList<int> FillBrands(TDemoContext &c)
{
    const char *names[] = {"衣尚", "衣尚·童趣", "简约主义", "都市丽影", "北纬30°", "棉之语", "型格先生", "初语森林"};
    Inserter insert(c.db, QStringLiteral("insert into Brand(BrandID,cBraName) values(?,?)"));
    QList<int> ids;
    for (int i = 0; i < 8; ++i) {
        insert({i + 1, QString::fromUtf8(names[i])});
        ids << i + 1;
    }
    AdvanceKey(c.db, QStringLiteral("Brand"), QStringLiteral("BrandID"));
    return ids;
}

void FillColors(TDemoContext &c)
{
    struct Col {
        const char *name;
        unsigned rgb;
    };
    const Col colors[] = {
        {"黑色", 0x000000}, {"白色", 0xffffff}, {"藏青", 0x1f2a44}, {"卡其", 0xc3b091}, {"灰色", 0x808080},
        {"浅灰", 0xc8c8c8}, {"米白", 0xf5f0e1}, {"酒红", 0x7b1e2b}, {"军绿", 0x4b5320}, {"天蓝", 0x87ceeb},
        {"粉色", 0xf4b6c2}, {"驼色", 0xc19a6b}, {"咖啡", 0x6f4e37}, {"深蓝", 0x1b3b6f}, {"浅蓝", 0xadd8e6},
        {"杏色", 0xf7e0c3}, {"大红", 0xc8102e}, {"姜黄", 0xd9a404},
    };
    Inserter insert(c.db, QStringLiteral("insert into Color(ColorID,ItemNo,Name,BarCode,ColorValue) values(?,?,?,?,?)"));
    int id = 0;
    for (const Col &col : colors) {
        ++id;
        // Colour values as the old colour boxes stored them: blue in the high byte.
        const int bgr = int(((col.rgb & 0xff) << 16) | (col.rgb & 0xff00) | ((col.rgb >> 16) & 0xff));
        insert({id, id, QString::fromUtf8(col.name), QStringLiteral("%1").arg(id, 2, 10, QLatin1Char('0')), bgr});
        c.colorIds << id;
    }
    AdvanceKey(c.db, QStringLiteral("Color"), QStringLiteral("ColorID"));
}

int MaxSizeId(const QSqlDatabase &db)
{
    SqliteStatement st(db, QStringLiteral("select coalesce(max(SizeID),0) from SizeTable"));
    return st.step() ? st.rawValue(0).toInt() : 0;
}

// The template brings S to XXXL and 均码 (keys 1-7) in the default group; trousers and children's
// clothes need their own sizes and groups.
void FillSizes(TDemoContext &c)
{
    Inserter size(c.db, QStringLiteral("insert into SizeTable(SizeID,ItemNo,Name,BarCode) values(?,?,?,?)"));
    const QStringList trousers = QStringLiteral("27 28 29 30 31 32 33 34 36").split(QLatin1Char(' '));
    const QStringList children = QStringLiteral("90 100 110 120 130 140 150 160").split(QLatin1Char(' '));
    int next = MaxSizeId(c.db);
    QList<int> trouserIds, childIds;
    for (const QString &name : trousers) {
        ++next;
        size({next, next, name, QStringLiteral("%1").arg(next, 2, 10, QLatin1Char('0'))});
        trouserIds << next;
    }
    for (const QString &name : children) {
        ++next;
        size({next, next, name, QStringLiteral("%1").arg(next, 2, 10, QLatin1Char('0'))});
        childIds << next;
    }
    AdvanceKey(c.db, QStringLiteral("SizeTable"), QStringLiteral("SizeID"));

    Inserter group(c.db, QStringLiteral("insert into SizeG(SizeGID,Name,bFlag) values(?,?,0)"));
    Inserter member(c.db, QStringLiteral("insert into SizeGD(SizeGID,SizeID) values(?,?)"));
    group({2, QStringLiteral("上衣尺码")});
    for (int id = 1; id <= 6; ++id)
        member({2, id});
    group({3, QStringLiteral("裤装尺码")});
    for (int id : trouserIds)
        member({3, id});
    group({4, QStringLiteral("童装尺码")});
    for (int id : childIds)
        member({4, id});
    group({5, QStringLiteral("均码")});
    member({5, 7});
    AdvanceKey(c.db, QStringLiteral("SizeG"), QStringLiteral("SizeGID"));
}

void FillStyles(TDemoContext &c, const QList<int> &brands, const QHash<QString, int> &areas)
{
    Inserter category(c.db, QStringLiteral("insert into InventoryC(InventoryCID,cInvCCode,cInvCName) values(?,?,?)"));
    QList<std::pair<const Category *, int>> leaves;
    int categoryId = 0;
    for (const Category &cat : kCategories) {
        category({++categoryId, QLatin1String(cat.code), QString::fromUtf8(cat.name)});
        if (cat.styleLetters)
            leaves.append({&cat, categoryId});
    }
    AdvanceKey(c.db, QStringLiteral("InventoryC"), QStringLiteral("InventoryCID"));

    const QList<int> origins = {areas.value(QStringLiteral("宁波")), areas.value(QStringLiteral("东莞")),
                                areas.value(QStringLiteral("广州")), areas.value(QStringLiteral("苏州")),
                                areas.value(QStringLiteral("杭州")), areas.value(QStringLiteral("泉州"))};
    Inserter style(c.db, QStringLiteral("insert into Inventory(InventoryID,InventoryCID,cInvCode,cInvName,cInvStd,cInvUnit,"
                                        "BrandID,AreaID,iInvIPrice,iInvOPrice,iInvCPrice,SizeGID,cInvABC)"
                                        " values(?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    Inserter colorGroup(c.db, QStringLiteral("insert into ColorGroup(InventoryID,ColorID) values(?,?)"));
    QHash<QString, int> sequence;
    const int years[] = {23, 24, 25};
    for (int i = 0; i < c.options.styles; ++i) {
        const auto [cat, catId] = leaves.at(i % leaves.size());
        const int year = years[c.random(3)];
        const QString prefix = QStringLiteral("%1%2%3").arg(QLatin1Char(cat->gender)).arg(year).arg(QLatin1String(cat->styleLetters));
        const int seq = ++sequence[prefix];
        const QString code = prefix + QStringLiteral("%1").arg(seq, 3, 10, QLatin1Char('0'));

        const QStringList nouns = QString::fromUtf8(cat->nouns).split(QLatin1Char('|'));
        const QStringList details = QString::fromUtf8(cat->details).split(QLatin1Char('|'));
        QString name = kMaterials.at(c.random(kMaterials.size())) + kFits.at(c.random(kFits.size()))
                       + details.at(c.random(details.size())) + nouns.at(c.random(nouns.size()));
        if (cat->gender == 'K')
            name = QStringLiteral("儿童") + name;

        const int tag = TagPrice(c, cat->priceLow, cat->priceHigh);
        const double purchase = std::round(tag * (0.28 + 0.01 * c.random(10)));
        const double cost = std::round(purchase * (1.04 + 0.01 * c.random(6)) * 100.0) / 100.0;
        // The children's brand (the second) carries the children's styles and only those.
        int brand = brands.value(1);
        if (cat->gender != 'K') {
            const int pick = c.random(brands.size() - 1);
            brand = brands.value(pick >= 1 ? pick + 1 : pick);
        }
        const int id = i + 1;
        style({id, catId, code, name, year >= 25 ? QStringLiteral("新款") : QStringLiteral("常规款"),
               QString::fromUtf8(cat->unit), brand, origins.at(c.random(origins.size())), purchase, double(tag), cost,
               cat->sizeGroup, QStringLiteral("ABC").mid(c.random(3), 1)});
        // Two to four colours per style, distinct.
        QList<int> chosen;
        const int count = 2 + c.random(3);
        while (chosen.size() < count) {
            const int color = c.colorIds.at(c.random(c.colorIds.size()));
            if (!chosen.contains(color))
                chosen << color;
        }
        for (int color : chosen)
            colorGroup({id, color});
        c.styleCodes << code;
    }
    AdvanceKey(c.db, QStringLiteral("Inventory"), QStringLiteral("InventoryID"));
}

void FillEmployees(TDemoContext &c, const QList<int> &departments)
{
    Inserter insert(c.db, QStringLiteral("insert into Employ(EmployID,name,employno,sex,birthday,culture,idcard,telephone,"
                                         "mobile,DepartmentID,paymoney,postcode,address,nplace,cmemo,isoperate)"
                                         " values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,1)"));
    // Values of the staff dialog's education pick list.
    const QStringList cultures = QStringLiteral("高中 中专 大专 大学").split(QLatin1Char(' '));
    const QStringList places = QStringLiteral("浙江杭州 浙江温州 江苏南通 安徽安庆 江西上饶 湖南衡阳 四川南充 河南信阳").split(QLatin1Char(' '));
    // Two salesclerks per shop, capped for the benchmark sets, and a small office.
    const int clerks = std::min(2 * c.options.shops, 120);
    const int total = clerks + 8;
    for (int i = 0; i < total; ++i) {
        const int id = i + 1;
        const bool clerk = i < clerks;
        const QString name = PersonName(c);
        const bool female = clerk ? c.random(10) < 8 : c.random(2) == 0;
        const QDate birthday = QDate(1975 + c.random(28), 1 + c.random(12), 1 + c.random(28));
        insert({id, name, QStringLiteral("YG%1").arg(id, 3, 10, QLatin1Char('0')),
                female ? QStringLiteral("女") : QStringLiteral("男"), birthday.toString(Qt::ISODate),
                cultures.at(c.random(cultures.size())),
                QStringLiteral("3301%1%2%3").arg(c.random(90) + 10).arg(birthday.toString(QStringLiteral("yyyyMMdd")))
                    .arg(1000 + c.random(8999)),
                QString(), MobileNumber(c), clerk ? departments.value(3) : departments.value(c.random(departments.size())),
                double(clerk ? 3500 + 100 * c.random(15) : 5000 + 500 * c.random(12)), QString(), QString(),
                places.at(c.random(places.size())), clerk ? QStringLiteral("营业员") : QString()});
        c.employeeIds << id;
        c.employeeNames << name;
    }
    AdvanceKey(c.db, QStringLiteral("Employ"), QStringLiteral("EmployID"));
}

void FillBanksAndItems(TDemoContext &c)
{
    struct B {
        const char *bank, *account;
    };
    const B banks[] = {{"现金", ""},
                       {"中国工商银行杭州西湖支行", "1202 0212 0990 0123 456"},
                       {"中国建设银行杭州文三路支行", "3305 0161 6270 0000 0789"},
                       {"招商银行杭州分行营业部", "5719 0312 3410 601"},
                       {"支付宝", "yishang@example.cn"},
                       {"微信支付", "商户号 1601234567"}};
    Inserter bank(c.db, QStringLiteral("insert into Bank(BankID,cBankName,cBankUserName,cBankCode) values(?,?,?,?)"));
    int id = 0;
    for (const B &b : banks) {
        bank({++id, QString::fromUtf8(b.bank), id == 1 ? QStringLiteral("现金") : c.companyName, QString::fromUtf8(b.account)});
        c.bankIds << id;
    }
    AdvanceKey(c.db, QStringLiteral("Bank"), QStringLiteral("BankID"));

    Inserter item(c.db, QStringLiteral("insert into IEType(IETypeID,IEType,iFlag) values(?,?,?)"));
    const char *income[] = {"租金收入", "利息收入", "废料处理收入", "供应商返利", "其它收入"};
    const char *expense[] = {"房租", "水电费", "员工工资", "运输费", "广告宣传费", "办公费", "通讯费", "商场扣点", "装修费", "差旅费"};
    id = 0;
    for (const char *name : income)
        item({++id, QString::fromUtf8(name), 0});
    for (const char *name : expense)
        item({++id, QString::fromUtf8(name), 1});
    AdvanceKey(c.db, QStringLiteral("IEType"), QStringLiteral("IETypeID"));

    Inserter fee(c.db, QStringLiteral("insert into Fee(cFeeName,iFeeFlag) values(?,?)"));
    for (const char *name : {"租金收入", "其它收入"})
        fee({QString::fromUtf8(name), 1});
    for (const char *name : {"房租", "水电费", "运输费"})
        fee({QString::fromUtf8(name), 2});
}

void FillVipCards(TDemoContext &c)
{
    Inserter insert(c.db, QStringLiteral("insert into VIP(VIPID,VIPCardID,VIPName,VIPPile,VIPTelphone,VIPAdress) values(?,?,?,?,?,?)"));
    const int cards = std::clamp(c.options.shops * 12, 40, 2000);
    const QStringList streets = QStringLiteral("文三路 延安路 中山路 解放路 人民路 建设路 和平路 南京路").split(QLatin1Char(' '));
    for (int i = 0; i < cards; ++i) {
        const QString card = QStringLiteral("VIP%1").arg(100001 + i);
        insert({i + 1, card, PersonName(c), c.random(6000), MobileNumber(c),
                QString(streets.at(c.random(streets.size())) + QStringLiteral("%1号").arg(1 + c.random(300)))});
        c.vipCards << card;
    }
    AdvanceKey(c.db, QStringLiteral("VIP"), QStringLiteral("VIPID"));
}

} // namespace

void AddDemoDataStep(const QString &name, std::function<void(TDemoContext &)> step)
{
    Steps().append({name, std::move(step)});
}

TDemoContext FillDemoData(const QSqlDatabase &db, const TDemoOptions &options)
{
    if (options.shops < 0 || options.styles < 0)
        throw AppError(QStringLiteral("门店数和款式数不能为负数！"));
    TDemoContext c;
    c.db = db;
    c.options = options;
    c.rng.seed(options.seed);

    TTransaction transaction(db);
    FillCompany(c);
    const QHash<QString, int> areas = FillAreas(c);
    const QList<int> departments = FillDepartments(c);
    FillStores(c, areas, departments);
    FillVendors(c, areas);
    FillCustomers(c, areas);
    const QList<int> brands = FillBrands(c);
    FillColors(c);
    FillSizes(c);
    FillStyles(c, brands, areas);
    FillEmployees(c, departments);
    FillBanksAndItems(c);
    FillVipCards(c);
    for (const Step &step : Steps())
        step.run(c);
    transaction.commit();
    return c;
}

bool CreateDemoAccountSet(const QString &dataNetPath, const TDemoOptions &options)
{
    TAccountList list(dataNetPath);
    if (list.locate(options.code))
        return false;
    CreateAccountSet(dataNetPath, options.code);
    const QString folder = AccountFolder(dataNetPath, options.code);
    // Until the list row is stored nothing points at the new folder; a failure takes it away
    // again so that the next attempt starts clean.
    try {
        QString company;
        {
            const QString connection = NewConnectionName(QStringLiteral("qelvo_demo_"));
            try {
                company = FillDemoData(OpenSqliteConnection(connection, AccountDatabaseFile(dataNetPath, options.code)),
                                       options)
                              .companyName;
            } catch (...) {
                CloseSqliteConnection(connection);
                throw;
            }
            CloseSqliteConnection(connection);
        }
        const QString month = QDate::currentDate().toString(QStringLiteral("yyyy.MM"));
        TDbDataSet &ds = list.dataSet();
        ds.append();
        ds.fieldByName(QStringLiteral("cAccCode")).setAsString(options.code);
        ds.fieldByName(QStringLiteral("cAccName")).setAsString(options.name);
        ds.fieldByName(QStringLiteral("cBeginDate")).setAsString(month);
        ds.fieldByName(QStringLiteral("cEndDate")).setAsString(month);
        ds.fieldByName(QStringLiteral("cUnitName")).setAsString(company);
        ds.post();
    } catch (...) {
        QDir(folder).removeRecursively();
        throw;
    }
    return true;
}
