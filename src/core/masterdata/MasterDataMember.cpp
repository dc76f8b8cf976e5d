#include "MasterDataMember.h"
#include "shell/AppError.h"

#include <QHash>

namespace {

using S = QString;

TDialogField Text(const char *caption, const char *column, int page = -1)
{
    return TDialogField{S::fromUtf8(caption), S::fromUtf8(column), EditorKind::Text, page, {}, {}, LookupKind::None, {}};
}

TDialogField Field(const char *caption, const char *column, EditorKind editor, int page = -1)
{
    return TDialogField{S::fromUtf8(caption), S::fromUtf8(column), editor, page, {}, {}, LookupKind::None, {}};
}

TListColumn Col(const char *column, const char *caption, int width = 100)
{
    return TListColumn{S::fromUtf8(column), S::fromUtf8(caption), width, {}};
}

TListColumn Money(const char *column, const char *caption, int width = 100)
{
    return TListColumn{S::fromUtf8(column), S::fromUtf8(caption), width, QStringLiteral("0.00")};
}

TRequiredField Req(const char *column, const char *message)
{
    return TRequiredField{S::fromUtf8(column), S::fromUtf8(message)};
}

TUniqueColumn Unique(const char *column, const char *caption)
{
    return TUniqueColumn{S::fromUtf8(column), S::fromUtf8(caption), {}};
}

// The customer and vendor dialogs are one layout over two column prefixes.
QList<TDialogField> PartnerFields(const QString &p, bool withDiscount, const QString &codeCaption)
{
    auto f = [&](const QString &caption, const QString &column, int page, EditorKind editor = EditorKind::Text) {
        return TDialogField{caption, column, editor, page, {}, {}, LookupKind::None, {}};
    };
    QList<TDialogField> fields{
        f("简称", p + "ShortName", -1),
        f(codeCaption, p + "Code", -1),
        f("地区", "AreaID", 0, EditorKind::AreaDropDown),
        f("全称", p + "Name", 0),
        f("联系人", p + "Person", 0),
        f("电话", p + "Phone", 0),
        f("传真", p + "Fax", 0),
        f("Email", p + "Email", 0),
        f("手机", p + "BP", 0),
        f("邮编", p + "PostCode", 0),
        f("地址", p + "Address", 0),
        f("网址", p + "Homepage", 0),
    };
    if (withDiscount) {
        TDialogField discount = f("折扣", QStringLiteral("iCusDiscount"), 0, EditorKind::Number);
        discount.hint = QStringLiteral("给该客户的固定折扣比例");
        fields << discount;
    }
    fields << f("开户行", p + "Bank", 1) << f("帐号", p + "Account", 1) << f("税号", p + "TaxCode", 1);
    return fields;
}

QList<TListColumn> ContactPrintColumns(const QString &p, bool withBank)
{
    auto col = [&p](const char *suffix, const char *caption, int width) {
        return TListColumn{p + QLatin1String(suffix), S::fromUtf8(caption), width, {}};
    };
    QList<TListColumn> cols{col("Code", "代码", 70),     col("Name", "全称", 160),  col("Person", "联系人", 70),
                            col("Phone", "电话", 100),   col("Fax", "传真", 100),   col("PostCode", "邮编", 60),
                            col("Address", "地址", 180)};
    if (withBank)
        cols << col("Bank", "开户行", 120) << col("Account", "帐号", 120);
    return cols;
}

const QStringList kNavigatorHints{QStringLiteral("第一条"), QStringLiteral("前一条"), QStringLiteral("下一条"),
                                  QStringLiteral("末一条")};

QList<TMasterDataMember> BuildMembers()
{
    QList<TMasterDataMember> all;

    {
        TMasterDataMember m;
        m.kind = MasterDataKind::Color;
        m.listClass = "TfrmColor"; m.dialogClass = "TfrmColorEdit";
        m.listCaption = "颜色"; m.dialogCaption = "颜色编辑";
        m.table = "Color"; m.keyColumn = "ColorID"; m.keyName = "Color";
        m.selectSql = "select * from  color order by name";
        m.required = {Req("Name", "颜色名称不能为空！")};
        // the colour part of every item barcode; the name is all a colour picker shows
        m.unique = {Unique("barcode", "颜色条码"), Unique("name", "颜色名称")};
        m.fields = {Text("名称", "name"), Text("条码", "barcode")};
        m.listColumns = {Col("name", "名称", 120), Col("barcode", "条码", 100)};
        m.right = 99;
        m.openMode = OpenMode::Modal;
        m.sortByTitle = true;
        m.enterAsTab = true;
        m.okCaption = "存盘"; m.cancelCaption = "放弃"; m.addCaption = "存盘并增加";
        all << m;
    }
    {
        TMasterDataMember m;
        m.kind = MasterDataKind::Unit;
        m.listClass = "TfrmMUnit"; m.dialogClass = "TfrmMUnitEdit";
        m.listCaption = "常用计量单位"; m.dialogCaption = "";
        m.table = "Unit"; m.keyColumn = "cUnName";
        m.selectSql = "select * from Unit";
        m.required = {Req("cUnName", "名称不能为空！")};
        m.unique = {Unique("cUnName", "计量单位")};
        m.fields = {Text("名称", "cUnName")};
        m.listColumns = {Col("cUnName", "名称", 150)};
        m.right = 98;
        all << m;
    }
    {
        TMasterDataMember m;
        m.kind = MasterDataKind::Department;
        m.listClass = "TfrmDepartment"; m.dialogClass = "TfrmDepartmentEdit";
        m.listCaption = "部门资料"; m.dialogCaption = "部门编辑";
        m.table = "Department"; m.keyColumn = "DepartmentID"; m.keyName = "Department";
        m.selectSql = "select * from Department";
        m.required = {Req("cDepName", "名称不能为空！")};
        m.unique = {Unique("cDepName", "部门")};  // the staff dialog picks departments by name
        m.codeFromKeyColumn = "cDepCode";
        m.fields = {Text("名称", "cDepName"), Text("联系人", "cDepPerson"), Text("电话", "cDepPhone"),
                    Text("地址", "cDepAddress"), Text("备注", "cDepMemo")};
        m.listColumns = {Col("cDepName", "名称", 120), Col("cDepPerson", "联系人", 80), Col("cDepPhone", "电话", 100),
                         Col("cDepAddress", "地址", 200)};
        m.right = 102;
        all << m;
    }
    {
        TMasterDataMember m;
        m.kind = MasterDataKind::Store;
        m.listClass = "TfrmStore"; m.dialogClass = "TfrmStoreEdit";
        m.listCaption = "仓库(商场)资料"; m.dialogCaption = "仓库（商场）资料编辑";
        m.table = "Store"; m.keyColumn = "StoreID"; m.keyName = "Store";
        m.selectSql = "select * from Store";
        m.required = {Req("cStoName", "仓库名称不能为空！")};
        m.unique = {Unique("cStoName", "仓库")};  // every bill picks its store by name
        m.requiredMessage = RequiredMessageKind::Info;
        m.defaults = {{"bStoDefaultFlag", false}, {"cStoValueStyle", QStringLiteral("移动加权平均")}};
        m.fields = {Text("名称", "cStoName"), Text("地址", "cStoAddress"), Text("电话", "cStoPhone"),
                    Field("此仓库为总仓库", "bStoDefaultFlag", EditorKind::CheckBox)};
        m.listColumns = {Col("cStoName", "名称", 140), Col("cStoAddress", "地址", 260), Col("cStoPhone", "电话", 100),
                         Col("bStoDefaultFlag", "总仓库", 60)};
        m.right = 95;
        m.openMode = OpenMode::Modal;
        m.enterAsTab = true;
        m.navigator = true;
        m.navigatorHints = kNavigatorHints;
        all << m;
    }
    {
        TMasterDataMember m;
        m.kind = MasterDataKind::Bank;
        m.listClass = "TfrmBank"; m.dialogClass = "TfrmBankEdit";
        m.listCaption = "银行资料"; m.dialogCaption = "银行资料编辑";
        m.table = "Bank"; m.keyColumn = "BankID"; m.keyName = "Bank";
        m.selectSql = "select * from Bank";
        m.required = {Req("cBankName", "名称不能为空！")};
        m.fields = {Text("开户行", "cBankName"), Text("户名", "cBankUserName"), Text("帐号", "cBankCode")};
        // wide enough for a company's full name and a 19-digit account number
        m.listColumns = {Col("cBankName", "开户行", 180), Col("cBankUserName", "户名", 180), Col("cBankCode", "帐号", 180)};
        m.right = 104;
        all << m;
    }
    {
        TMasterDataMember m;
        m.kind = MasterDataKind::Brand;
        m.listClass = "TfrmBrand"; m.dialogClass = "TfrmBrandEdit";
        m.listCaption = "品牌资料"; m.dialogCaption = "品牌资料编辑";
        m.table = "Brand"; m.keyColumn = "BrandID"; m.keyName = "Brand";
        m.selectSql = "select * from Brand";
        m.required = {Req("cBraName", "名称不能为空！")};
        m.unique = {Unique("cBraName", "品牌")};  // the item dialog picks brands by name
        m.fields = {Text("名称", "cBraName")};
        m.listColumns = {Col("cBraName", "品牌名称", 160)};
        m.right = 97;
        all << m;
    }
    {
        TMasterDataMember m;
        m.kind = MasterDataKind::Vendor;
        m.listClass = "TfrmVendor"; m.dialogClass = "TfrmVendorEdit";
        m.listCaption = "供应商资料"; m.dialogCaption = "供应商资料编辑";
        m.table = "Vendor"; m.keyColumn = "VendorID"; m.keyName = "Vendor";
        m.selectSql = "select *,ivenbmoney+ivendmoney-ivenfmoney as ipaymoney from vendor";
        m.required = {Req("cVenShortName", "供应商简称不能为空！"), Req("cVenName", "供应商全称不能为空！")};
        m.unique = {Unique("cVenCode", "供应商代码")};
        m.balances = {{"ipaymoney", "iVenBMoney", "iVenDMoney", "iVenFMoney"}};
        m.requiredMessage = RequiredMessageKind::Info;
        m.pages = {"联系信息", "其它信息"};
        m.fields = PartnerFields("cVen", false, "供应商代码");
        m.listColumns = {Col("cVenCode", "供应商代码", 100), Col("cVenShortName", "简称", 160),
                         Money("ipaymoney", "应付金额", 100)};
        m.right = 91;
        m.openMode = OpenMode::Modal;
        m.printsContactList = true;
        m.printColumns = ContactPrintColumns("cVen", true);
        all << m;
    }
    {
        TMasterDataMember m;
        m.kind = MasterDataKind::Customer;
        m.listClass = "TfrmCustomer"; m.dialogClass = "TfrmCustomerEdit";
        m.listCaption = "客户资料"; m.dialogCaption = "客户资料编辑";
        m.table = "Customer"; m.keyColumn = "CustomerID"; m.keyName = "Customer";
        m.selectSql = "select *,icusbmoney+icusdmoney-icusfmoney as irecievemoney from customer";
        m.required = {Req("cCusShortName", "客户简称不能为空！")};
        m.unique = {Unique("cCusCode", "客户代码")};
        m.balances = {{"irecievemoney", "iCusBMoney", "iCusDMoney", "iCusFMoney"}};
        // A factor multiplies the price of every line sold to the customer: "85" or "8.5" typed
        // for "八五折" would sell at 85 or 8.5 times the price.
        m.ranges = {{QStringLiteral("iCusDiscount"), 0, 1,
                     QStringLiteral("折扣应为0到1之间的小数，例如0.85表示八五折！")}};
        m.requiredMessage = RequiredMessageKind::Info;
        m.pages = {"联系信息", "其它信息"};
        m.fields = PartnerFields("cCus", true, "客户代码");
        m.listColumns = {Col("cCusCode", "客户代码", 100), Col("cCusShortName", "简称", 160),
                         Money("irecievemoney", "应收金额", 100)};
        m.right = 92;
        m.openMode = OpenMode::Modal;
        m.startRecord = 2;
        m.printsContactList = true;
        m.printColumns = ContactPrintColumns("cCus", false);
        all << m;
    }
    {
        TMasterDataMember m;
        m.kind = MasterDataKind::Employ;
        m.listClass = "TfrmEmploy"; m.dialogClass = "TfrmEmployEdit";
        m.listCaption = "员工资料"; m.dialogCaption = "员工资料编辑";
        m.table = "employ"; m.keyColumn = "employid"; m.keyName = "employ";
        m.selectSql = "select * from employ";
        m.required = {Req("name", "姓名不能为空！")};
        m.unique = {Unique("employno", "员工编号")};
        m.defaults = {{"isOperate", 1}, {"sex", QStringLiteral("男")}};
        m.pages = {"基本资料", "其他资料"};
        TDialogField flag = Field("标志", "isoperate", EditorKind::Choice);
        flag.choices = {{QStringLiteral("业务员"), 1}, {QStringLiteral("其他工作人员"), 0}};
        TDialogField sex = Field("性    别", "sex", EditorKind::Choice, 0);
        sex.choices = {{QStringLiteral("男"), QStringLiteral("男")}, {QStringLiteral("女"), QStringLiteral("女")}};
        TDialogField culture = Field("学    历", "culture", EditorKind::PickList, 0);
        culture.pickList = QStringList{"博士", "硕士", "大学", "大专", "中专", "高中", "中技", "初中", "高小", "小学"};
        TDialogField department = Field("所属部门", "DepartmentID", EditorKind::KeyDropDown, 0);
        department.lookup = LookupKind::Department;
        m.fields = {Text("姓名", "name"),
                    Text("编号", "employno"),
                    flag,
                    sex,
                    Field("出生年月", "birthday", EditorKind::Date, 0),
                    culture,
                    Text("身份证号", "idcard", 0),
                    Text("电话号码", "telephone", 0),
                    Text("手机号码", "mobile", 0),
                    department,
                    Field("薪资水平", "paymoney", EditorKind::Number, 0),
                    Text("邮编", "postcode", 1),
                    Text("住址", "address", 1),
                    Text("籍贯", "nplace", 1),
                    Text("备注", "cmemo", 1)};
        m.listColumns = {Col("employno", "编号", 50),  Col("name", "姓名", 80),      Col("sex", "性别", 50),
                         Col("Birthday", "出生日期", 90), Col("culture", "学历", 90), Col("idcard", "身份证号", 100),
                         Money("paymoney", "薪资", 80)};
        m.right = 103;
        m.writesSysLog = false;
        m.navigator = true;
        all << m;
    }
    {
        TMasterDataMember m;
        m.kind = MasterDataKind::VIP;
        m.listClass = "TfrmVIP"; m.dialogClass = "TfrmVIPEdit";
        m.listCaption = "VIP用户管理"; m.dialogCaption = "VIP客户管理";
        m.table = "vip"; m.keyColumn = "VIPID"; m.keyName = "VIP";
        m.selectSql = "select * from vip";
        m.required = {Req("VIPCardID", "VIP编号不能为空！")};
        m.unique = {Unique("VIPCardID", "VIP编号")};  // bills name the card by it
        m.valueReferences = {{"VIPCardID", "VIP卡", "VIP编号",
                              {{"Sell", "VIPCardID", "销售单"}, {"SellBack", "VIPCardID", "销售退货单"}}}};
        m.fields = {Text("VIP编号", "VIPCardID"), Text("名字", "VIPName"), Text("联系电话", "VIPTelphone"),
                    Text("地址", "VIPAdress")};
        m.listColumns = {Col("VIPCardID", "编号", 100), Col("VIPName", "名字", 100), Col("VIPTelphone", "电话", 110),
                         Col("VIPAdress", "地址", 200)};
        m.right = 106;
        m.writesSysLog = false;
        m.sortByTitle = true;
        m.navigator = true;
        all << m;
    }
    {
        TMasterDataMember m;
        m.kind = MasterDataKind::IEType;
        m.listClass = "TfrmIEType"; m.dialogClass = "TfrmIETypeEdit";
        m.listCaption = "收支项目资料"; m.dialogCaption = "收支项目编辑";
        m.table = "IEType"; m.keyColumn = "IETypeID"; m.keyName = "IEType";
        m.selectSql = "select * from IEType";
        m.required = {Req("IEType", "名称不能为空！")};
        // the income and the expense documents each pick their items by name
        m.unique = {TUniqueColumn{"IEType", "收支项目", "iFlag"}};
        m.kindColumn = "iFlag";
        m.kinds = {{QStringLiteral("收入项目"), 0}, {QStringLiteral("支出项目"), 1}};
        TDialogField kind = Field("收支类别", "iFlag", EditorKind::Display);
        kind.choices = m.kinds;
        m.fields = {Text("名称", "IEType"), kind};
        m.listColumns = {Col("IEType", "收支项目", 200)};
        m.right = 105;
        m.writesSysLog = false;
        m.navigator = true;
        all << m;
    }
    {
        // Fee items have no key column; the name finds the row, as it does for units.
        TMasterDataMember m;
        m.kind = MasterDataKind::Fee;
        m.listClass = "TfrmFee"; m.dialogClass = "TfrmFeeEdit";
        m.listCaption = "费用项目"; m.dialogCaption = "费用项目编辑";
        m.table = "Fee"; m.keyColumn = "cFeeName";
        m.selectSql = "select *,case iFeeFlag when 1 then '收入' when 2 then '支出' else '' end as cFeeKind from Fee";
        m.required = {Req("cFeeName", "名称不能为空！")};
        m.unique = {Unique("cFeeName", "费用项目")};  // the name is what finds the row
        m.defaults = {{"iFeeFlag", 2}};
        TDialogField kind = Field("类别", "iFeeFlag", EditorKind::Choice);
        kind.choices = {{QStringLiteral("收入"), 1}, {QStringLiteral("支出"), 2}};
        m.fields = {Text("名称", "cFeeName"), kind};
        m.shownChoices = {{QStringLiteral("iFeeFlag"), QStringLiteral("cFeeKind"), kind.choices}};
        m.listColumns = {Col("cFeeName", "名称", 160), Col("cFeeKind", "类别", 60)};
        all << m;
    }
    return all;
}

} // namespace

const TDialogField *TMasterDataMember::dialogField(const QString &column) const
{
    for (const TDialogField &f : fields)
        if (f.column.compare(column, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const TMasterDataMember &MasterDataMember(MasterDataKind kind)
{
    static const QList<TMasterDataMember> members = BuildMembers();
    for (const TMasterDataMember &m : members)
        if (m.kind == kind)
            return m;
    throw AppError(QStringLiteral("未知的基础资料类别"));
}

const QList<MasterDataKind> &AllMasterDataKinds()
{
    static const QList<MasterDataKind> kinds{MasterDataKind::Color,  MasterDataKind::Unit,     MasterDataKind::Department,
                                             MasterDataKind::Store,  MasterDataKind::Bank,     MasterDataKind::Brand,
                                             MasterDataKind::Vendor, MasterDataKind::Customer, MasterDataKind::Employ,
                                             MasterDataKind::VIP,    MasterDataKind::IEType,   MasterDataKind::Fee};
    return kinds;
}

QString ChoiceText(const QList<TChoice> &choices, const QVariant &value)
{
    if (value.isNull())
        return QString();
    for (const TChoice &c : choices)
        if (c.value.toString() == value.toString())
            return c.text;
    return QString();
}
