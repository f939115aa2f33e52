#include "ExampleListModel.h"

ExampleListModel::ExampleListModel(QObject *parent) : QAbstractListModel(parent) {}

void ExampleListModel::setCategories(const Categories &categories)
{
    m_categories = categories;
    setQuery(m_query, true);
}

void ExampleListModel::setQuery(const ExampleQuery &query, bool libraryChanged)
{
    m_query = query;
    QList<FoundExample> found = findExamples(m_categories, m_query);
    // The same records after a change of the library may hold other sentences.
    if (found == m_found && !libraryChanged)
        return;
    beginResetModel();
    m_found = std::move(found);
    endResetModel();
}

QString ExampleListModel::sentence(int row) const
{
    const FoundExample example = found(row);
    if (row < 0 || row >= m_found.size() || !m_categories[example.category])
        return QString();
    return m_categories[example.category]->record(example.record).sentence();
}

int ExampleListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_found.size()); }

QVariant ExampleListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_found.size())
        return {};
    const FoundExample example = m_found[index.row()];
    const Category *category = m_categories[example.category];
    if (!category)
        return {};
    const Example &record = category->record(example.record);
    switch (role) {
    case Qt::DisplayRole: return record.sentence();
    case ClassesRole: {
        QStringList path{category->title()};
        for (int level = 0; level < 3; ++level)
            path.append(record.field[level].isEmpty() ? QStringLiteral("－") : record.field[level]);
        return path.join(QStringLiteral(" › "));
    }
    case Qt::AccessibleTextRole:
        return data(index, ClassesRole).toString() + QStringLiteral("：") + record.sentence();
    default: return {};
    }
}
