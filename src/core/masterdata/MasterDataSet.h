#pragma once
#include "MasterDataMember.h"
#include "data/DbDataSet.h"
#include <memory>

// The one live dataset of a reference-list member, shared by its list window and its edit
// dialog: a row saved in the dialog is at once the row the list shows. It draws the keys of new
// rows, sets the member's defaults and refuses to write a row whose required fields are empty.
class TMasterDataSet : public TDbDataSet {
    Q_OBJECT
public:
    explicit TMasterDataSet(MasterDataKind kind, QObject *parent = nullptr);

    const TMasterDataMember &member() const { return m_member; }

    // The kind chosen in the list window (income/expense): the rows shown and the kind new rows
    // take. Members without kinds ignore it.
    int chosenKind() const { return m_chosenKind; }
    void setChosenKind(int kind);

private:
    void initNewRow();
    void applyKindFilter();

    const TMasterDataMember &m_member;
    int m_chosenKind = 0;
};

// The new-row event of a member: the next key from TablesID (none for units and fee items),
// the member's defaults, the department code from the key and the chosen kind.
void InitMasterDataRow(const TMasterDataMember &member, TDataSet &ds, int chosenKind);

// Blanks typed or pasted around a text (a code copied from a spreadsheet with a trailing space)
// are dropped before the row is tested and written: "KH001 " would pass as a second code beside
// "KH001" and never be found when "KH001" is typed.
void TrimMasterDataTexts(const TMasterDataMember &member, TDataSet &ds);

// The required-field test run before a row is written: the first empty field (blanks count as
// empty) shows its message in the member's box and abandons the save silently (Abort).
void CheckMasterDataRequired(const TMasterDataMember &member, const TDataSet &ds);

// Refuses a row whose code (non-empty value of a unique column) another row of the table already
// has, with an AppError naming it: the guarded post reports it as a value that is not unique.
void CheckMasterDataUnique(const TMasterDataMember &member, const TDataSet &ds);

// Refuses to delete a row whose value bills store as text (AppError, reported as the database's
// refusals are), and to save such a value changed while bills use the old one (the member's box,
// then Abort).
void CheckMasterDataValueInUseOnDelete(const TMasterDataMember &member, const TDataSet &ds);
void CheckMasterDataValueInUseOnChange(const TMasterDataMember &member, const TDataSet &ds);

// The contact list a member prints (customers, vendors): its print columns of every row, in key
// order, titled as printed.
std::unique_ptr<TDataSet> MasterDataPrintPacket(const TMasterDataMember &member);
