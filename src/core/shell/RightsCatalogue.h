#pragma once
#include <QList>
#include <QString>

class TOpData;

// The rights the rights dialog can grant: a position in the operator's rights string, its name
// and its group. Positions without an entry can never be granted through the dialog.
struct RightEntry {
    int position;
    QString name;
    int group;
};

struct RightGroup {
    int id;
    QString name;
};

const QList<RightEntry> &RightsCatalogue();
const QList<RightGroup> &RightGroups();

// Replaces every row of Purview and PurviewG with the catalogue, in one transaction.
void RebuildRightsCatalogue(TOpData &op);
// Rebuilds the catalogue tables when their row count is not the catalogue's; true when it did.
bool CheckRightsCatalogue(TOpData &op);
