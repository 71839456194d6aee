// A model list of the main dialog: the rows in report view, one selected at a
// time. A column keeps the width it was given (stored, or dragged by the
// pilot); a column without one fits its contents, again after every refill,
// until the pilot drags it. The last column also takes the width the list has
// to spare, so that a wider window shows more of it.
#pragma once

#include <QStringList>
#include <QTableView>

class CModelListView : public QTableView {
    Q_OBJECT
public:
    static constexpr int kColumns = 4;

    explicit CModelListView(QWidget* parent = nullptr);

    // Texts a column may show besides the rows of the moment (the names of
    // every model type, for instance), so that a fitted column does not
    // change width from one folder to the next.
    void SetSampleTexts(int column, const QStringList& texts);
    // The stored widths; 0 for a column without one.
    void SetColumnWidths(const int (&widths)[kColumns]);
    // A column's own width, the one to store: for the last column the width
    // it has before it takes the spare width.
    int ColumnWidth(int column) const { return m_width[column]; }
    // The rows changed: columns without a width of their own fit them.
    void FitColumns();

protected:
    bool viewportEvent(QEvent* event) override;

private:
    int TextWidth(const QString& text) const;
    int ContentWidth(int column) const;
    // Puts every column at its own width, the last one at least as wide as
    // the room that the others leave.
    void Arrange();
    void OnSectionResized(int column, int newSize);

    int m_width[kColumns] = {};
    bool m_fits[kColumns] = {true, true, true, true};
    QStringList m_samples[kColumns];
    bool m_arranging = false;
};
