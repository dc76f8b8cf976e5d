#include "MainWindowData.h"
#include "AppContext.h"
#include "data/DataModule.h"
#include "data/OpData.h"

QByteArray LoadBackgroundPicture(TOpData &op, int winBgId)
{
    std::unique_ptr<TDataSet> ds =
        winBgId > 0 ? op.QueryDataParams(QStringLiteral("select bmpimage from winbg where winbgid=?"), {winBgId})
                    : op.QueryData(QStringLiteral("select bmpimage from winbg where iflag=1"));
    if (ds->isEmpty())
        return {};
    ds->first();
    return ds->field(0)->asBytes();
}

void SetCurrentBackground(TOpData &op, int winBgId)
{
    TTransaction transaction(op.database());
    op.ExecCommandParams(QStringLiteral("update winbg set iflag=1 where winbgid=?"), {winBgId});
    op.ExecCommandParams(QStringLiteral("update winbg set iflag=0 where winbgid<>?"), {winBgId});
    transaction.commit();
}

void LoadCompanyAndPriceMode(TOpData &op)
{
    App().companyName = op.ScalarText(QStringLiteral("SELECT name FROM company"));
    App().priceMode = op.ScalarInt(QStringLiteral("SELECT InfoValue FROM SysInfo where SysInfoID=2"));
}
