#include "widgets/font_list_model.h"

void TFontListModel::SetFamilies(std::vector<TFontFamily> Families) {
    beginResetModel();
    FFamilies = std::move(Families);
    endResetModel();
}

int TFontListModel::rowCount(const QModelIndex& Parent) const {
    return Parent.isValid() ? 0 : static_cast<int>(FFamilies.size());
}

QVariant TFontListModel::data(const QModelIndex& Index, int Role) const {
    if (!Index.isValid() || Index.row() >= rowCount()) {
        return {};
    }
    const TFontFamily& Family = FFamilies[static_cast<std::size_t>(Index.row())];
    switch (Role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return Family.Name;
    case FontBitsRole:
        return Family.PitchAndFamily;
    default:
        return {};
    }
}
