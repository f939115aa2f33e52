#pragma once

#include "ExampleSearch.h"

#include <QAbstractListModel>

// The examples a query leaves, one row each, read from the main window's categories: the
// sentence as the display text and its category and classes as a line above it.
class ExampleListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int ClassesRole = Qt::UserRole + 1; // "学習について › 国語 › 全体 › ほめたい"

    explicit ExampleListModel(QObject *parent = nullptr);

    void setCategories(const Categories &categories);
    const Categories &categories() const { return m_categories; }
    const ExampleQuery &query() const { return m_query; }
    // Lists what the query leaves. The same rows are not listed again unless the library changed.
    void setQuery(const ExampleQuery &query, bool libraryChanged = false);

    FoundExample found(int row) const { return m_found.value(row); }
    int rowOf(const FoundExample &example) const { return int(m_found.indexOf(example)); }
    QString sentence(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    Categories m_categories{};
    ExampleQuery m_query;
    QList<FoundExample> m_found;
};
