// The conversion report window: the findings of one conversion grouped by
// severity and then by place, what must be checked open and the rest folded,
// with Save (plain UTF-8 text) and Copy. It only shows the core's report.
#pragma once

#include <QDialog>
#include <QString>

#include "app/ConversionReport.h"

class CCurvesPage;
class QLabel;
class QTabWidget;
class QTreeWidget;

class CReportDlg : public QDialog {
    Q_OBJECT
public:
    // modelName names the report in the title and the file it suggests;
    // folder is where the Save dialog opens.
    CReportDlg(const ConversionReport& report, const QString& modelName, const QString& folder,
               QWidget* parent = nullptr);

    QTreeWidget* Tree() const { return m_tree; }
    // The findings and the curves as two pages; null when the report has no curves.
    QTabWidget* Pages() const { return m_pages; }
    CCurvesPage* Curves() const { return m_curves; }
    // The report as Save writes it and Copy copies it.
    QString ReportText() const { return m_text; }

    void OnSave();
    void OnCopy();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_title;
    QString m_text;
    QString m_suggested;
    QLabel* m_summary = nullptr;
    QTreeWidget* m_tree = nullptr;
    QTabWidget* m_pages = nullptr;
    CCurvesPage* m_curves = nullptr;
};
