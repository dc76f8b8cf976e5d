#include "CustomerDiscount.h"
#include "data/OpData.h"

double CustomerDiscountFactor(const QVariant &stored)
{
    bool ok = false;
    const double value = stored.toDouble(&ok);
    if (stored.isNull() || !ok || value < 0.001)
        return 1.0;
    return value;
}

double GetCustomerDiscount(TOpData &op, int customerId)
{
    return CustomerDiscountFactor(
        op.GetScalarParams(QStringLiteral("select iCusDiscount from Customer where customerid=?"), {customerId},
                           ScalarType::Float));
}
