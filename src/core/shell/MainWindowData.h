#pragma once
#include <QByteArray>
#include <QString>

class TOpData;

// What the main window reads and writes in the open account set: its background pictures
// (table winbg, at most one row flagged as the current one) and the values loaded after
// every login.

// The picture of the current background (iFlag 1), or of the row winBgId when given (> 0).
// Empty when there is no such row or it holds no picture.
QByteArray LoadBackgroundPicture(TOpData &op, int winBgId = 0);

// Makes row winBgId the current background and every other row not current, in one
// transaction so that a failure never leaves two current rows or none.
void SetCurrentBackground(TOpData &op, int winBgId);

// Company name (first row of company) and price mode (sysinfo row 2) into App().
void LoadCompanyAndPriceMode(TOpData &op);
