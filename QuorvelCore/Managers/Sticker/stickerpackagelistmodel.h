#ifndef STICKERPACKAGELISTMODEL_H
#define STICKERPACKAGELISTMODEL_H

#include "Managers/Sticker/stickerpackage.h"
#include "foundation/quorvelcore_export.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>

// Sticker packages for a market view, one row each, with named roles.
class QUORVELCORE_EXPORT StickerPackageListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles
    {
        IdRole = Qt::UserRole + 1,
        TitleRole,
        PriceRole,
        ThumbnailRole,
        DownloadsRole
    };

    explicit StickerPackageListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void addStickerPackage(const StickerPackage& package);
    void clear();

private:
    QList<StickerPackage> packages;
};

#endif // STICKERPACKAGELISTMODEL_H
