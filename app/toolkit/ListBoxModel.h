#pragma once

#include <QAbstractListModel>

#include <string>
#include <vector>

// The entries of a list box: UTF-8 texts turned into Qt's strings only for
// the rows drawn, so replacing tens of thousands of entries costs little
// more than copying them. Private to the toolkit's implementation;
// user-interface thread only.
class ListBoxModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // Replaces every entry (the view's selection is cleared, silently).
    void SetEntries(std::vector<std::string> entries);
    const std::vector<std::string>& Entries() const { return entries; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<std::string> entries;
};
