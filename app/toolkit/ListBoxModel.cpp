#include "app/toolkit/ListBoxModel.h"

void ListBoxModel::SetEntries(std::vector<std::string> newEntries)
{
    beginResetModel();
    entries = std::move(newEntries);
    endResetModel();
}

int ListBoxModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries.size());
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(entries.size()) ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return QString::fromStdString(entries[static_cast<std::size_t>(index.row())]);
}
