#pragma once

#include "widgets/file_list_entries.h"

#include <QAbstractListModel>
#include <QIcon>

// One item of a file list: the entry, its shown text and its glyph (null without glyphs).
struct TFileListItem {
    TFileEntry Entry;
    QString Text;
    QIcon Glyph;
};

// The items of a file list box, replaced all at once by each reading.
class TFileListModel : public QAbstractListModel {
public:
    explicit TFileListModel(QObject* Parent = nullptr) : QAbstractListModel(Parent) {}

    void SetItems(std::vector<TFileListItem> Items);
    const std::vector<TFileListItem>& Items() const { return FItems; }

    int rowCount(const QModelIndex& Parent = {}) const override;
    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;

private:
    std::vector<TFileListItem> FItems;
};
