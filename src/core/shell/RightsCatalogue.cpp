#include "RightsCatalogue.h"
#include "data/DataModule.h"
#include "data/OpData.h"

const QList<RightGroup> &RightGroups()
{
    static const QList<RightGroup> groups = {
        {1, QStringLiteral("系统管理")}, {2, QStringLiteral("基础资料管理")}, {3, QStringLiteral("采购管理")},
        {4, QStringLiteral("销售管理")}, {5, QStringLiteral("库存管理")},     {6, QStringLiteral("财务管理")},
    };
    return groups;
}

const QList<RightEntry> &RightsCatalogue()
{
    // The bill blocks keep the names they always had, 游览 and 浏览 both included: operators'
    // screens and printed rights lists show them as they stand.
    static const QList<RightEntry> rights = {
        {1, QStringLiteral("用户管理"), 1},
        {2, QStringLiteral("修改密码"), 1},
        {3, QStringLiteral("查看系统日志"), 1},
        {4, QStringLiteral("清除日志"), 1},
        {5, QStringLiteral("备份帐套"), 1},
        {6, QStringLiteral("恢复帐套"), 1},
        {7, QStringLiteral("月末结帐"), 1},
        {8, QStringLiteral("清空所有数据"), 1},
        {9, QStringLiteral("设置主窗口背景图片"), 1},
        {10, QStringLiteral("字段权限设置"), 1},
        {11, QStringLiteral("入库单游览"), 5},
        {12, QStringLiteral("入库单编辑"), 5},
        {13, QStringLiteral("入库单删除"), 5},
        {14, QStringLiteral("入库单红冲"), 5},
        {15, QStringLiteral("入库单新增"), 5},
        {16, QStringLiteral("盘点单浏览"), 5},
        {17, QStringLiteral("盘点单编辑"), 5},
        {18, QStringLiteral("盘点单删除"), 5},
        {19, QStringLiteral("盘点单红冲"), 5},
        {20, QStringLiteral("盘点单新增"), 5},
        {21, QStringLiteral("采购入库单游览"), 3},
        {22, QStringLiteral("采购入库单编辑"), 3},
        {23, QStringLiteral("采购入库单删除"), 3},
        {24, QStringLiteral("采购入库单红冲"), 3},
        {25, QStringLiteral("采购入库单新增"), 3},
        {26, QStringLiteral("采购退货单游览"), 3},
        {27, QStringLiteral("采购退货单编辑"), 3},
        {28, QStringLiteral("采购退货单删除"), 3},
        {29, QStringLiteral("采购退货单红冲"), 3},
        {30, QStringLiteral("采购退货单新增"), 3},
        {41, QStringLiteral("销售单游览"), 4},
        {42, QStringLiteral("销售单编辑"), 4},
        {43, QStringLiteral("销售单删除"), 4},
        {44, QStringLiteral("销售单红冲"), 4},
        {45, QStringLiteral("销售单新增"), 4},
        {46, QStringLiteral("销售退货单游览"), 4},
        {47, QStringLiteral("销售退货单编辑"), 4},
        {48, QStringLiteral("销售退货单删除"), 4},
        {49, QStringLiteral("销售退货单红冲"), 4},
        {50, QStringLiteral("销售退货单新增"), 4},
        {51, QStringLiteral("调拨单游览"), 5},
        {52, QStringLiteral("调拨单编辑"), 5},
        {53, QStringLiteral("调拨单删除"), 5},
        {54, QStringLiteral("调拨单红冲"), 5},
        {55, QStringLiteral("调拨单新增"), 5},
        {81, QStringLiteral("银行存取款"), 6},
        {82, QStringLiteral("费用开支"), 6},
        {83, QStringLiteral("其它收入"), 6},
        {91, QStringLiteral("供应商资料"), 2},
        {92, QStringLiteral("客户资料"), 2},
        {93, QStringLiteral("货品分类资料"), 2},
        {94, QStringLiteral("货品资料"), 2},
        {95, QStringLiteral("仓库（商场）资料"), 2},
        {96, QStringLiteral("地区资料"), 2},
        {97, QStringLiteral("品牌资料"), 2},
        {98, QStringLiteral("常用计量单位资料"), 2},
        {99, QStringLiteral("颜色资料"), 2},
        {100, QStringLiteral("尺码资料"), 2},
        {101, QStringLiteral("公司基本资料"), 2},
        {102, QStringLiteral("部门资料"), 2},
        {103, QStringLiteral("员工资料"), 2},
        {104, QStringLiteral("开户银行资料"), 2},
        {105, QStringLiteral("常用收支项目资料"), 2},
        {106, QStringLiteral("VIP客户管理"), 2},
        {110, QStringLiteral("付款单"), 3},
        {111, QStringLiteral("收款单"), 4},
    };
    return rights;
}

void RebuildRightsCatalogue(TOpData &op)
{
    TTransaction transaction(op.database());
    op.ExecCommand(QStringLiteral("delete from Purview"));
    op.ExecCommand(QStringLiteral("delete from PurviewG"));
    for (const RightGroup &g : RightGroups())
        op.ExecCommandParams(QStringLiteral("insert into PurviewG(PurviewGID,cGroupName) values(?,?)"), {g.id, g.name});
    for (const RightEntry &r : RightsCatalogue())
        op.ExecCommandParams(QStringLiteral("insert into Purview(PurviewID,cPurviewName,PurviewGID,iType) values(?,?,?,1)"),
                             {r.position, r.name, r.group});
    transaction.commit();
}

bool CheckRightsCatalogue(TOpData &op)
{
    const int rows = op.ScalarInt(QStringLiteral("select (select count(*) from Purview)+(select count(*) from PurviewG)"));
    if (rows == RightsCatalogue().size() + RightGroups().size())
        return false;
    RebuildRightsCatalogue(op);
    return true;
}
