#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// The flat reference lists (colours, units, departments, stores, banks, brands, vendors,
// customers, staff, VIP cards, income/expense items, fee items). Every member is a list window
// over one table plus an edit dialog for one row; they differ only by what this table says, so
// the windows and the dataset read it instead of being written once per member.

enum class MasterDataKind { Color, Unit, Department, Store, Bank, Brand, Vendor, Customer, Employ, VIP, IEType, Fee };

// How a dialog edits one column.
enum class EditorKind {
    Text,          // one-line text box
    AreaDropDown,  // areas indented by code depth, with a read-only box repeating the plain name
    KeyDropDown,   // a list of rows of another table, storing its key (see LookupKind)
    PickList,      // free text with suggested values
    Choice,        // fixed texts, each storing its own value
    CheckBox,
    Date,
    Number,
    Display,       // shown, never edited (texts of `choices` when given)
};

// The other table a key drop-down lists.
enum class LookupKind { None, Department };

// Box with which a member reports an empty required field.
enum class RequiredMessageKind { Info, ConfirmOk };

enum class OpenMode { Modal, Child };

struct TChoice {
    QString text;
    QVariant value;
};

struct TDialogField {
    QString caption;
    QString column;
    EditorKind editor = EditorKind::Text;
    int page = -1;                 // index into TMasterDataMember::pages; -1 above the pages
    QList<TChoice> choices;        // Choice and Display
    QStringList pickList;          // PickList
    LookupKind lookup = LookupKind::None;
    QString hint;                  // shown in red beside the editor
};

struct TRequiredField {
    QString column;
    QString message;
};

// A number column whose value, when given, must lie within [low, high].
struct TNumberRange {
    QString column;
    double low = 0;
    double high = 0;
    QString message;
};

// A column whose non-empty values identify one row: codes that bills, barcodes and pickers use.
struct TUniqueColumn {
    QString column;
    QString caption;
    QString scopeColumn;   // unique only among rows of the same value here (empty: the whole table)
};

// A column whose value bills store as text instead of the row's key (a VIP card number on a
// sale): a row whose value bills use can be neither deleted nor given another value, or those
// bills would lose it.
struct TValueUse {
    QString table;
    QString column;
    QString caption;   // what the user knows the using rows as ("销售单")
};

struct TValueReference {
    QString column;
    QString what;      // what the row is to the user ("VIP卡")
    QString caption;   // the column's caption ("VIP编号")
    QList<TValueUse> uses;
};

// A list column the query computes as the text of a stored choice: kept in step with the value
// when a row is saved, as the query would show it after reading the table again.
struct TShownChoice {
    QString valueColumn;
    QString textColumn;
    QList<TChoice> choices;
};

// A list column the query derives as opening + debit - credit (a customer's receivable): kept
// in step when a row is saved, with missing amounts counted as 0 as the table stores them.
struct TBalanceColumn {
    QString column;
    QString opening;
    QString debit;
    QString credit;
};

struct TListColumn {
    QString column;
    QString caption;
    int width = 100;
    QString format;    // numbers: how the list shows them ("0.00" for money)
};

struct TNewRowDefault {
    QString column;
    QVariant value;
};

struct TMasterDataMember {
    MasterDataKind kind = MasterDataKind::Color;
    QString listClass;             // window class names, used as object names
    QString dialogClass;
    QString listCaption;
    QString dialogCaption;
    QString table;
    QString keyColumn;             // the column that finds a row again
    QString keyName;               // name under which GetNextID hands out keys; empty: no generated key
    QString selectSql;
    QList<TRequiredField> required;                 // tested in this order; the first empty one stops the save
    RequiredMessageKind requiredMessage = RequiredMessageKind::ConfirmOk;
    QList<TUniqueColumn> unique;   // a second row with the same value is refused
    QList<TValueReference> valueReferences;
    QList<TNumberRange> ranges;    // tested after the required fields, with the same box
    QList<TShownChoice> shownChoices;
    QList<TBalanceColumn> balances;
    QList<TNewRowDefault> defaults;
    QString codeFromKeyColumn;     // takes the new key as its text (department code)
    QString kindColumn;            // takes the kind chosen in the list window (income/expense)
    QList<TChoice> kinds;          // the choice of the list window; first entry chosen at start
    QStringList pages;             // tab captions of the dialog
    QList<TDialogField> fields;
    QList<TListColumn> listColumns;
    int right = 0;                 // rights position; 0 opens for everyone
    bool writesSysLog = true;
    OpenMode openMode = OpenMode::Child;
    bool sortByTitle = false;      // title clicks sort the list
    bool enterAsTab = false;
    bool navigator = false;        // record navigator in the dialog
    QStringList navigatorHints;    // first, previous, next, last (empty: no hints)
    int startRecord = 1;           // record the list stands on after opening
    QString okCaption = QStringLiteral("确定");
    QString cancelCaption = QStringLiteral("取消");
    QString addCaption = QStringLiteral("增加");
    bool printsContactList = false; // prints the contact columns below instead of the grid
    QList<TListColumn> printColumns;

    const TDialogField *dialogField(const QString &column) const;
    bool hasGeneratedKey() const { return !keyName.isEmpty(); }
};

const TMasterDataMember &MasterDataMember(MasterDataKind kind);
const QList<MasterDataKind> &AllMasterDataKinds();

// The text a choice list gives a stored value (empty when none matches).
QString ChoiceText(const QList<TChoice> &choices, const QVariant &value);
