#pragma once

class QWidget;
class TAccountList;

// "备份帐套...": asks where, then copies the open account set there.
void RunBackupAccountSet(QWidget *parent);
// "恢复帐套": asks for a backup file, then for the code and name of the set to restore it into.
void RunRestoreAccountSet(TAccountList &list, QWidget *parent);
