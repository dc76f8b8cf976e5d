#include "MasterDataSet.h"
#include "data/OpData.h"
#include "shell/AppContext.h"
#include "shell/AppError.h"
#include "shell/MessageService.h"

TMasterDataSet::TMasterDataSet(MasterDataKind kind, QObject *parent)
    : TDbDataSet(parent), m_member(MasterDataMember(kind))
{
    setObjectName(m_member.table);
    setCommandText(m_member.selectSql);
    setUpdateTable(m_member.table, {m_member.keyColumn});
    if (!m_member.kinds.isEmpty())
        m_chosenKind = m_member.kinds.first().value.toInt();
    onNewRecord = [this](TDataSet &) { initNewRow(); };
    beforePost = [this](TDataSet &ds) {
        TrimMasterDataTexts(m_member, ds);
        CheckMasterDataRequired(m_member, ds);
        CheckMasterDataUnique(m_member, ds);
        CheckMasterDataValueInUseOnChange(m_member, ds);
        for (const TShownChoice &c : m_member.shownChoices)
            if (TField *text = ds.findField(c.textColumn))
                text->setValue(ChoiceText(c.choices, ds.fieldByName(c.valueColumn).value()));
        // A new customer's receivable reads 0.00 at once, not blank until the list is reopened.
        for (const TBalanceColumn &b : m_member.balances)
            if (TField *balance = ds.findField(b.column))
                balance->setValue(ds.fieldByName(b.opening).asFloat() + ds.fieldByName(b.debit).asFloat()
                                  - ds.fieldByName(b.credit).asFloat());
    };
    beforeDelete = [this](TDataSet &ds) { CheckMasterDataValueInUseOnDelete(m_member, ds); };
    applyKindFilter();
}

void TMasterDataSet::setChosenKind(int kind)
{
    // A pending row that cannot be saved keeps the kind (and the rows shown) as they were;
    // otherwise new items would be stamped with a kind the list does not show.
    if (active())
        checkBrowseMode();
    m_chosenKind = kind;
    applyKindFilter();
}

void TMasterDataSet::initNewRow() { InitMasterDataRow(m_member, *this, m_chosenKind); }

void TMasterDataSet::applyKindFilter()
{
    if (m_member.kindColumn.isEmpty())
        return;
    const QString column = m_member.kindColumn;
    const int kind = m_chosenKind;
    // Pending edits must be settled before rows may vanish from view.
    if (active())
        checkBrowseMode();
    setFilter([column, kind](const TRecordView &row) {
        const QVariant v = row.value(column);
        return !v.isNull() && v.toInt() == kind;
    });
    setFiltered(true);
}

void InitMasterDataRow(const TMasterDataMember &member, TDataSet &ds, int chosenKind)
{
    if (member.hasGeneratedKey()) {
        const int key = OpData().GetNextID(member.keyName);
        ds.fieldByName(member.keyColumn).setValue(key);
        if (!member.codeFromKeyColumn.isEmpty())
            if (TField *code = ds.findField(member.codeFromKeyColumn))
                code->setValue(QString::number(key));
    }
    for (const TNewRowDefault &d : member.defaults)
        if (TField *f = ds.findField(d.column))
            f->setValue(d.value);
    if (!member.kindColumn.isEmpty())
        ds.fieldByName(member.kindColumn).setValue(chosenKind);
}

void TrimMasterDataTexts(const TMasterDataMember &member, TDataSet &ds)
{
    for (const TDialogField &f : member.fields) {
        if (f.editor != EditorKind::Text && f.editor != EditorKind::PickList)
            continue;
        TField *field = ds.findField(f.column);
        if (!field || field->isNull())
            continue;
        const QString text = field->asString();
        const QString trimmed = text.trimmed();
        if (trimmed != text)
            field->setValue(trimmed);
    }
}

namespace {
[[noreturn]] void RefuseWith(const TMasterDataMember &member, const QString &message)
{
    if (member.requiredMessage == RequiredMessageKind::Info)
        ShowInfo(message);
    else
        ConfirmOk(message);
    Abort();
}
} // namespace

void CheckMasterDataRequired(const TMasterDataMember &member, const TDataSet &ds)
{
    for (const TRequiredField &r : member.required)
        if (ds.fieldByName(r.column).asString().trimmed().isEmpty())
            RefuseWith(member, r.message);
    for (const TNumberRange &r : member.ranges) {
        const TField &f = ds.fieldByName(r.column);
        if (f.isNull())
            continue;
        const double value = f.asFloat();
        if (value < r.low || value > r.high)
            RefuseWith(member, r.message);
    }
}

void CheckMasterDataUnique(const TMasterDataMember &member, const TDataSet &ds)
{
    for (const TUniqueColumn &u : member.unique) {
        const QString value = ds.fieldByName(u.column).asString();
        if (value.trimmed().isEmpty())
            continue;
        // A value the row already had is not tested again: rows that were doubled before this
        // test existed (imported, exchanged) must stay editable in their other columns.
        if (ds.state() == TDataSet::State::Edit
            && ds.oldValue(u.column).toString().compare(value, Qt::CaseInsensitive) == 0)
            continue;
        QString sql = QStringLiteral("select count(*) from %1 where %2=?")
                          .arg(SqlIdentifier(member.table), SqlIdentifier(u.column));
        QVariantList params{value};
        if (!u.scopeColumn.isEmpty()) {
            sql += QStringLiteral(" and %1=?").arg(SqlIdentifier(u.scopeColumn));
            params << ds.fieldByName(u.scopeColumn).value();
        }
        // The row being edited is still stored under its key as it was before the edit.
        if (ds.state() == TDataSet::State::Edit) {
            const QVariant key = ds.oldValue(member.keyColumn);
            if (!key.isNull()) {
                sql += QStringLiteral(" and not (%1=?)").arg(SqlIdentifier(member.keyColumn));
                params << key;
            }
        }
        if (OpData().ScalarInt(sql, params) > 0)
            throw AppError(QStringLiteral("%1“%2”已经存在，不能重复！").arg(u.caption, value));
    }
}

namespace {
// The first use of a value by bills (nullptr: none).
const TValueUse *FirstUse(const TValueReference &r, const QString &value)
{
    if (value.trimmed().isEmpty())
        return nullptr;
    for (const TValueUse &u : r.uses)
        if (OpData().ScalarInt(QStringLiteral("select count(*) from (select 1 from %1 where %2=? limit 1)")
                                   .arg(SqlIdentifier(u.table), SqlIdentifier(u.column)),
                               {value})
            > 0)
            return &u;
    return nullptr;
}
} // namespace

void CheckMasterDataValueInUseOnDelete(const TMasterDataMember &member, const TDataSet &ds)
{
    for (const TValueReference &r : member.valueReferences)
        if (const TValueUse *use = FirstUse(r, ds.fieldByName(r.column).asString()))
            throw AppError(QStringLiteral("该%1已被%2使用，不能删除！").arg(r.what, use->caption));
}

void CheckMasterDataValueInUseOnChange(const TMasterDataMember &member, const TDataSet &ds)
{
    if (ds.state() != TDataSet::State::Edit)
        return;
    for (const TValueReference &r : member.valueReferences) {
        const QString before = ds.oldValue(r.column).toString();
        if (before.compare(ds.fieldByName(r.column).asString(), Qt::CaseInsensitive) == 0)
            continue;
        if (const TValueUse *use = FirstUse(r, before))
            RefuseWith(member, QStringLiteral("该%1已被%2使用，不能修改%3！").arg(r.what, use->caption, r.caption));
    }
}

std::unique_ptr<TDataSet> MasterDataPrintPacket(const TMasterDataMember &member)
{
    QStringList columns;
    for (const TListColumn &c : member.printColumns)
        columns << SqlIdentifier(c.column);
    if (columns.isEmpty())
        throw AppError(QStringLiteral("“%1”没有可打印的列！").arg(member.listCaption));
    auto packet = OpData().QueryData(QStringLiteral("select %1 from %2 order by %3")
                                         .arg(columns.join(QLatin1Char(',')), SqlIdentifier(member.table),
                                              SqlIdentifier(member.keyColumn)));
    for (const TListColumn &c : member.printColumns)
        if (TField *f = packet->findField(c.column)) {
            f->displayLabel = c.caption;
            f->displayWidth = c.width;
        }
    return packet;
}
