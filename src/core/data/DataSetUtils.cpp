#include "DataSetUtils.h"
#include "DataSet.h"

void EmptyDataSet(TDataSet &dataSet)
{
    if (!dataSet.active())
        return;
    if (dataSet.isEditing())
        dataSet.cancel();
    dataSet.first();
    while (!dataSet.isEmpty()) {
        for (int i = 0; i < dataSet.fieldCount(); ++i)
            if (TDataSet *nested = dataSet.field(i)->nested())
                EmptyDataSet(*nested);
        const int before = dataSet.recordCount();
        dataSet.deleteRecord();
        // A delete event that quietly keeps the record would loop for ever.
        if (dataSet.recordCount() >= before)
            break;
    }
}
