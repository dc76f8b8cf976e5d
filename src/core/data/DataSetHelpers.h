#pragma once
#include "DataSet.h"
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

// Guarded post, delete and append for windows: a refusal by the database becomes an information
// box with a fixed text and the reason; the operation returns false and the dataset keeps its
// state (a refused post stays in edit state so the user can correct the record).
bool PostWithMessage(TDataSet &ds);
bool DeleteWithConfirm(TDataSet &ds);
bool AppendWithMessage(TDataSet &ds);

// Sets the read-only flag of each named field that exists; unknown names are skipped.
void SetFieldsReadOnly(TDataSet &ds, const QStringList &fieldNames, bool readOnly);

// "第3行，共10行" for the current record; an inactive dataset leaves the text as it was.
QString RecordCounterText(const TDataSet &ds, const QString &current = QString());

// --- sorting by a grid's title markers ----------------------------------------------------------

enum class SortMarker { None, Up, Down };

struct TSortMarkerEntry {
    QString fieldName;
    QStringList keyFields;   // for columns that show a looked-up value: the fields that order it
    SortMarker marker = SortMarker::None;
};
using TSortMarkers = QList<TSortMarkerEntry>; // in marking order

// Windows over database datasets: a marker pointing up sorts ascending, down descending.
// Returns the sort text it applied, e.g. "cName DESC, iPrice".
QString SortAdoByMarkers(const TSortMarkers &markers, TDataSet &ds);
// Windows over in-memory datasets read the marker the other way round: up lists the field as
// descending, down as case-insensitive ascending. The order becomes the index "index1".
void SortCdsByMarkers(const TSortMarkers &markers, TDataSet &ds);
// Applies a sort text of the form "field [ASC|DESC], ..."; text fields compare without case, as
// the database compares them. An empty text restores the natural order.
void SetSortText(TDataSet &ds, const QString &sortText);

// --- single-value helpers over the open account set's connection -------------------------------

// Binds the helpers below to a connection (done whenever an account set is opened); without a
// binding they use the open account set's connection.
void BindDbHelpers(const QSqlDatabase &db);
// "select count(*) from <table> <condition>"; the condition is the program's own SQL text (for
// example "where iFlag=?") with every value bound through params.
int CountRows(const QString &table, const QString &condition = QString(), const QVariantList &params = {});
// The first column of the first row as text; empty when there is no row.
QString GetSingleText(const QString &sql, const QVariantList &params = {});

// --- text helpers --------------------------------------------------------------------------------

bool TextInList(const QString &text, const QStringList &list);
QString RemoveFirst(const QString &text, const QString &part);
