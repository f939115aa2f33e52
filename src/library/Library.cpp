#include "Library.h"

ExampleTable::ExampleTable() : m_rows(EDLimit + 1) {}

void ExampleTable::fill(const QVector<Example> &records)
{
    max = qMin(int(records.size()), EDLimit);
    for (int i = 0; i < max; ++i)
        m_rows[i + 1] = records[i];
    overflow = records.mid(max);
}

QVector<Example> ExampleTable::recordsToSave() const
{
    QVector<Example> records = m_rows.mid(1, max);
    records += overflow;
    return records;
}
