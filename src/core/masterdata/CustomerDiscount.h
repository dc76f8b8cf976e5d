#pragma once
#include <QVariant>

class TOpData;

// A customer's fixed discount is a price factor (0.85 = 15 % off). Nothing stored, or a value
// so small that it would give the goods away, means no discount.
double CustomerDiscountFactor(const QVariant &stored);

// The factor new sales and sales-return lines take for a customer (1 for an unknown customer).
double GetCustomerDiscount(TOpData &op, int customerId);
