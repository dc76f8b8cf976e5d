#pragma once
#include <QString>
#include <memory>

class TDataSet;
class TDbDataSet;
class TUserInfo;

// The data and rules behind the operator, rights, password and field-visibility windows.

// The operators of the open account set ("select * from Operator"), written back by OperatorID.
// A new row takes its key from the key table and starts with no rights.
std::unique_ptr<TDbDataSet> MakeOperatorList();

// "确定" of the operator editor on the list's pending new row: the password and confirmation
// must agree (after trimming) and the name must be given; the hash of the password as typed is
// stored with the row.
void SaveNewOperator(TDataSet &operators, const QString &password, const QString &confirmation);

// Deletes the current operator after confirmation; the administrator is refused.
bool DeleteOperator(TDataSet &operators);

// False, after the message, for the operator whose rights cannot be edited.
bool RightsEditable(const QString &userName);

// The rights catalogue with a check box bRight per row, ticked where the rights grant it.
std::unique_ptr<TDataSet> MakePurviewSet(const QString &rights);
// Shows only the rights whose group name starts with the group; "全部" shows all.
void FilterPurviewByGroup(TDataSet &purview, const QString &group);
// The rights string with every catalogue row's position written from its check box, whatever
// filter the rows are seen through; positions without a row keep their value.
QString RightsFromPurview(TDataSet &purview, const QString &rights);
// Stores an operator's new rights string and tells that it takes effect at the next login.
void SaveOperatorRights(const QString &userName, const QString &rights);

// "确定" of the password window for the current operator: the confirmation must equal the new
// password and the old one must match. Returns true when the new password was stored.
bool ChangePassword(TUserInfo &user, const QString &oldPassword, const QString &newPassword,
                    const QString &confirmation);

// The windows whose columns can be hidden (dict) and the hideable columns of one (dicts).
std::unique_ptr<TDbDataSet> MakeFieldDictList();
std::unique_ptr<TDbDataSet> MakeFieldDictItems();
// Loads the columns of a window into the dataset made by MakeFieldDictItems.
void LoadFieldDictItems(TDbDataSet &items, const QString &windowName);
