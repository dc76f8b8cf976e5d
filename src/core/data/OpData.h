#pragma once
#include "DataSet.h"
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

// A display text with an integer key attached, as the drop-downs of the system need them.
struct KeyItem {
    QString text;
    int key = 0;
    bool operator==(const KeyItem &o) const { return text == o.text && key == o.key; }
};
using KeyItemList = QList<KeyItem>;

enum class ScalarType { Text, Integer, Float, Untyped };

// One operator's row, as the login reads it.
struct OperatorRecord {
    QString userName;
    QString password;   // the stored hash
    bool isSuper = false;
    QString rights;
    QString userType;
    QString depCode;
    QString classCode;
    QString whCode;
};

class TSimpleValueDB;

// The data-access object of the open account set: every SQL statement of the business logic
// goes through it. Values are always bound as parameters, never pasted into statements.
// Operations of later subjects are declared in the headers of their own subject and
// implemented in files of their own.
class TOpData {
public:
    explicit TOpData(const QSqlDatabase &db);
    QSqlDatabase database() const { return m_db; }

    // --- execution family ----------------------------------------------------------------------
    std::unique_ptr<TDataSet> QueryData(const QString &sql);
    std::unique_ptr<TDataSet> QueryDataParams(const QString &sql, const QVariantList &params);
    // Fills a caller's dataset (same errors as QueryData / QueryDataParams).
    void QueryInto(TDataSet &target, const QString &sql, const QVariantList &params = {});
    bool ExecCommand(const QString &sql);
    bool ExecCommandParams(const QString &sql, const QVariantList &params);
    QVariant GetScalar(const QString &sql, ScalarType type);
    QVariant GetScalarParams(const QString &sql, const QVariantList &params, ScalarType type);
    // Typed shorthands: a null or missing value reads as "", 0 or 0.0.
    QString ScalarText(const QString &sql, const QVariantList &params = {});
    int ScalarInt(const QString &sql, const QVariantList &params = {});
    double ScalarFloat(const QString &sql, const QVariantList &params = {});
    // Runs statements one by one, each alone; failures are skipped. Returns how many failed.
    int ExecEach(const QStringList &statements);

    // --- keys and log ----------------------------------------------------------------------------
    QString GetNextBillCode(const QString &prefix, const QString &month);
    QString GetNextBillCode(const QString &prefix); // month from today, "yyMM"
    int GetNextID(const QString &tableName);
    void WriteSysLog(const QString &userName, const QString &module);

    // --- lookup-list loaders -------------------------------------------------------------------
    void LoadStrings(const QString &sql, const QString &column, QStringList &list);
    void LoadObjects(const QString &sql, const QString &keyColumn, KeyItemList &list, const QString &displayColumn);
    void LoadKeyItems(const QString &sql, const QString &keyColumn, QStringList &keys, KeyItemList &display,
                      const QString &displayColumn);
    void LoadTreeKeyItems(const QString &sql, const QString &keyColumn, QStringList &keys, KeyItemList &display,
                          const QString &codeColumn, const QString &nameColumn);
    void LoadTreeObjects(const QString &sql, const QString &nameColumn, KeyItemList &list, const QString &codeColumn);

    // --- the lookup lists of the system -----------------------------------------------------
    void LoadOperatorNames(QStringList &list);
    void LoadPurviewGroupNames(QStringList &list);
    void LoadSizeObjects(KeyItemList &list);
    void LoadSizeKeyItems(QStringList &keys, KeyItemList &display);
    void LoadSizeObjectsNarrow(KeyItemList &list);
    void LoadSizeGroups(QStringList &keys, KeyItemList &display);
    void LoadSizesOfGroup(int sizeGroupId, QStringList &list);
    void LoadAreas(QStringList &keys, KeyItemList &display);
    void LoadAreaObjects(KeyItemList &list);
    void LoadDepartments(QStringList &keys, KeyItemList &display);
    void LoadColors(QStringList &keys, KeyItemList &display);
    void LoadColorObjects(KeyItemList &list);
    void LoadInventoryCs(QStringList &keys, KeyItemList &display);
    void LoadInventoryCObjects(KeyItemList &list);
    void LoadUnits(QStringList &list);
    void LoadStores(QStringList &keys, KeyItemList &display);
    void LoadStoreObjects(KeyItemList &list);
    void LoadVendors(QStringList &keys, KeyItemList &display);
    void LoadVendorObjects(KeyItemList &list);
    void LoadCustomers(QStringList &keys, KeyItemList &display);
    void LoadCustomerObjects(KeyItemList &list);
    void LoadBrands(QStringList &keys, KeyItemList &display);
    void LoadBrandObjects(KeyItemList &list);
    void LoadEmployNames(QStringList &list);
    void LoadVIPCards(QStringList &list);
    void LoadBanks(QStringList &keys, KeyItemList &display);
    void LoadIETypes(int flag, QStringList &keys, KeyItemList &display);
    void LoadPayTypes(QStringList &keys, KeyItemList &display);
    void LoadReportTemplates(int reportCategory, KeyItemList &list);
    void LoadInventoryCodes(QStringList &list);

    // Packets of the same family.
    std::unique_ptr<TDataSet> ItemListPacket();
    std::unique_ptr<TDataSet> CustomerListPacket();
    // Keys of a bill table in order, for stepping to the previous and next bill. The table and
    // key names are the program's own, never user input.
    std::unique_ptr<TDataSet> BillIdPacket(const QString &keyColumn, const QString &table);
    std::unique_ptr<TDataSet> AccountStoresPacket(const QString &accCode);

    // --- schema versions, upgrades and maintenance (SchemaUpgrade.cpp, Maintenance.cpp) -----
    // The stored schema version; a set without sysinfo gets the table (version 1, price
    // mode 1) and reads as 1.
    int GetSchemaVersion();
    void SetSchemaVersion(int version);
    void SetPriceMode(int mode);
    // Runs every upgrade step from the stored version up to the current one and returns the
    // version reached. A failing unguarded step throws and leaves the version where it was.
    int UpgradeSchema(TSimpleValueDB &settings);
    // Empties the business tables (bills, finance, master data, stock); operators, rights,
    // sizes, settings, key counters, VIP cards, report templates and pictures stay.
    void ClearAllData();
    // Replaces the base data of this set by that of another account-set file, all or nothing;
    // tells the user when it is done.
    void ImportBaseData(const QString &file);
    // Repair tools: sales and sales-return lines take the items' current cost prices; the
    // VIP key counter is re-created when missing. Each tells the user when it is done.
    void FillCostPricesFromItems();
    void RepairVIPKeyCounter();

    // --- operators, rights, field visibility and the log (OpDataOperators.cpp) -------------
    // The stored password hash of an operator; nullopt when there is no such operator.
    std::optional<QString> ReadOperatorPassword(const QString &userName);
    // The operator's row; AppError when there is none.
    OperatorRecord ReadOperator(const QString &userName);
    void SetOperatorRights(const QString &userName, const QString &rights);
    void SetOperatorPassword(const QString &userName, const QString &passwordHash);
    // The rights catalogue (PurviewID, cPurviewName, cGroupName) in position order.
    std::unique_ptr<TDataSet> PurviewPacket();
    // The system log, newest first.
    std::unique_ptr<TDataSet> SysLogPacket();
    // Removes the log rows written before a day; the rows of that day itself stay.
    void ClearSysLog(const QDate &day);
    // Hides or shows the dataset's columns as the field-visibility settings of a window say.
    void ApplyFieldVisibility(TDataSet &dataSet, const QString &windowName);

    // --- master data (OpDataMasterData.cpp) -------------------------------------------------

    // --- bills, audit and stock -----------------------------------------------------------------

    // --- reports --------------------------------------------------------------------------------

    // --- finance --------------------------------------------------------------------------------

    // --- exchange -------------------------------------------------------------------------------

private:
    QSqlDatabase m_db;
};

// The upgrade chain run when an account set is opened (see TOpData::UpgradeSchema).
inline int RunUpgradeChain(TOpData &op, TSimpleValueDB &settings) { return op.UpgradeSchema(settings); }

// Accepts only plain identifiers for the few statements that name a table or column from a
// variable; anything else is refused before it can reach SQL.
QString SqlIdentifier(const QString &name);
