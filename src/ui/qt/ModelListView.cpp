#include "ui/qt/ModelListView.h"

#include <QEvent>
#include <QHeaderView>

CModelListView::CModelListView(QWidget* parent) : QTableView(parent)
{
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int newSize) { OnSectionResized(column, newSize); });
}

void CModelListView::SetSampleTexts(int column, const QStringList& texts)
{
    if (column >= 0 && column < kColumns)
        m_samples[column] = texts;
}

void CModelListView::SetColumnWidths(const int (&widths)[kColumns])
{
    for (int c = 0; c < kColumns; ++c) {
        m_fits[c] = widths[c] <= 0;
        m_width[c] = m_fits[c] ? ContentWidth(c) : widths[c];
    }
    Arrange();
}

void CModelListView::FitColumns()
{
    for (int c = 0; c < kColumns; ++c)
        if (m_fits[c])
            m_width[c] = ContentWidth(c);
    Arrange();
}

int CModelListView::TextWidth(const QString& text) const
{
    // A cell draws its text inside a margin on either side and the grid line.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return fontMetrics().horizontalAdvance(text) + 2 * margin + (showGrid() ? 1 : 0);
}

int CModelListView::ContentWidth(int column) const
{
    int width = horizontalHeader()->sectionSizeHint(column);
    for (const QString& text : m_samples[column])
        width = qMax(width, TextWidth(text));
    if (QAbstractItemModel* rows = model()) {
        for (int r = 0; r < rows->rowCount(); ++r)
            width = qMax(width, TextWidth(rows->index(r, column).data().toString()));
    }
    return width;
}

void CModelListView::Arrange()
{
    if (!model() || model()->columnCount() < kColumns)
        return;
    m_arranging = true;
    QHeaderView* header = horizontalHeader();
    int others = 0;
    for (int c = 0; c + 1 < kColumns; ++c) {
        header->resizeSection(c, m_width[c]);
        others += m_width[c];
    }
    header->resizeSection(kColumns - 1, qMax(m_width[kColumns - 1], viewport()->width() - others));
    m_arranging = false;
}

void CModelListView::OnSectionResized(int column, int newSize)
{
    if (m_arranging || column < 0 || column >= kColumns)
        return;
    // The pilot (or whoever resized it) gave the column a width of its own.
    m_width[column] = newSize;
    m_fits[column] = false;
    if (column + 1 < kColumns)
        Arrange();
}

bool CModelListView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize && !m_arranging)
        Arrange();
    return QTableView::viewportEvent(event);
}
