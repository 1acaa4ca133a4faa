#include "widgets/file_list_model.h"

void TFileListModel::SetItems(std::vector<TFileListItem> Items) {
    beginResetModel();
    FItems = std::move(Items);
    endResetModel();
}

int TFileListModel::rowCount(const QModelIndex& Parent) const {
    return Parent.isValid() ? 0 : static_cast<int>(FItems.size());
}

QVariant TFileListModel::data(const QModelIndex& Index, int Role) const {
    if (!Index.isValid() || Index.row() >= rowCount()) {
        return {};
    }
    const TFileListItem& Item = FItems[static_cast<std::size_t>(Index.row())];
    switch (Role) {
    case Qt::DisplayRole:
        return Item.Text;
    case Qt::DecorationRole:
        return Item.Glyph;
    default:
        return {};
    }
}
