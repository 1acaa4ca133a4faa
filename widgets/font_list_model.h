#pragma once

#include "widgets/font_families.h"

#include <QAbstractListModel>

// The items of a font box: family names, with the pitch-and-family bits under FontBitsRole.
class TFontListModel : public QAbstractListModel {
public:
    static constexpr int FontBitsRole = Qt::UserRole;

    explicit TFontListModel(QObject* Parent = nullptr) : QAbstractListModel(Parent) {}

    // Replaces every item at once.
    void SetFamilies(std::vector<TFontFamily> Families);
    const std::vector<TFontFamily>& Families() const { return FFamilies; }

    int rowCount(const QModelIndex& Parent = {}) const override;
    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;

private:
    std::vector<TFontFamily> FFamilies;
};
