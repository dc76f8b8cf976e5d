#pragma once
#include <QString>

// The product's name as the users know it: window captions, the error box, the splash and the
// single-instance lock use it.
inline QString ProductTitle() { return QStringLiteral("Qelvo服装销售管理专业版"); }
inline QString ProductVersion() { return QStringLiteral("v9.18"); }
