#include "FieldAttrib.h"

const TFieldAttrib *FindFieldAttrib(const TFieldArr &arr, const QString &fieldName)
{
    for (const TFieldAttrib &a : arr)
        if (a.fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return &a;
    return nullptr;
}

QList<FieldDef> FieldDefsFromAttribs(const TFieldArr &arr)
{
    QList<FieldDef> defs;
    defs.reserve(arr.size());
    for (const TFieldAttrib &a : arr)
        defs.append(FieldDef(a.fieldName, a.dataType, a.dataType == FieldType::String ? a.size : 0, false));
    return defs;
}

void CreateDataSetFromAttribs(TDataSet &ds, const TFieldArr &arr)
{
    ds.close();
    ds.clearFieldDefs();
    ds.setFieldDefs(FieldDefsFromAttribs(arr));
    ds.createDataSet();
    for (const TFieldAttrib &a : arr) {
        TField &f = ds.fieldByName(a.fieldName);
        f.displayLabel = a.caption;
        f.displayWidth = a.width;
        f.visible = a.visible;
    }
}
