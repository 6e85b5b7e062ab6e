#include "Managers/Sticker/stickerpackagelistmodel.h"

StickerPackageListModel::StickerPackageListModel(QObject* parent) : QAbstractListModel(parent) {}

int StickerPackageListModel::rowCount(const QModelIndex& parent) const
{
    // A list: rows have no children of their own.
    return parent.isValid() ? 0 : packages.size();
}

QVariant StickerPackageListModel::data(const QModelIndex& index, int role) const
{
    if (index.row() < 0 || index.row() >= packages.size())
        return QVariant();
    const StickerPackage& package = packages.at(index.row());
    switch (role) {
    case IdRole:
        return package.getId();
    case TitleRole:
        return package.getTitle();
    case PriceRole:
        return package.getPrice();
    case ThumbnailRole:
        return package.getThUrl();
    case DownloadsRole:
        return package.getDownloads();
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> StickerPackageListModel::roleNames() const
{
    return {{IdRole, "id"},
            {TitleRole, "title"},
            {PriceRole, "price"},
            {ThumbnailRole, "thUrl"},
            {DownloadsRole, "downloads"}};
}

void StickerPackageListModel::addStickerPackage(const StickerPackage& package)
{
    beginInsertRows(QModelIndex(), packages.size(), packages.size());
    packages.append(package);
    endInsertRows();
}

void StickerPackageListModel::clear()
{
    if (packages.isEmpty())
        return;
    beginRemoveRows(QModelIndex(), 0, packages.size() - 1);
    packages.clear();
    endRemoveRows();
}
