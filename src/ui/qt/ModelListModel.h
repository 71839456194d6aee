// The rows of one model list as a Qt item model: four text columns, the key
// of each row as its user data, and grey text while the list is disabled.
#pragma once

#include <QAbstractTableModel>

#include "app/ModelList.h"

class CModelListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetListing(const ModelListing& listing);
    void SetGreyed(bool greyed);
    const ModelListing& Listing() const { return m_listing; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ModelListing m_listing;
    bool m_greyed = false;
};
