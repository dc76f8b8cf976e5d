#pragma once

class TDataSet;

// Deletes every visible record one by one, as a user would (delete events run, a database-
// backed dataset deletes its rows), after first emptying the same way every nested dataset of
// the record. A refused delete stops it with the error.
void EmptyDataSet(TDataSet &dataSet);
