#include "ui/qt/ModelListModel.h"

#include <QColor>

#include "app/DialogChoices.h"
#include "app/Strings.h"

void CModelListModel::SetListing(const ModelListing& listing)
{
    beginResetModel();
    m_listing = listing;
    endResetModel();
}

void CModelListModel::SetGreyed(bool greyed)
{
    if (greyed == m_greyed)
        return;
    m_greyed = greyed;
    if (!m_listing.rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::ForegroundRole});
}

int CModelListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_listing.rows.size());
}

int CModelListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant CModelListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= 4)
        return {};
    const ModelListRow& row = m_listing.rows[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole: return QString::fromStdU16String(row.columns[index.column()]);
    case Qt::UserRole: return QString::fromStdString(row.key);
    case Qt::ForegroundRole: return m_greyed ? QColor(150, 150, 150) : QColor(Qt::black);
    default: return {};
    }
}

QVariant CModelListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= 4)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdU16String(ListColumnHeading(section));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}
