// The curves of a conversion drawn: one small plot per curve with the source
// curve and the PX600 curve over each other, a page that groups the plots by
// condition (changed curves shown, unchanged ones folded away), shown as a
// page of the report window.
#pragma once

#include <vector>

#include <QWidget>

#include "convert/CurveCompare.h"

class QPushButton;
class QVBoxLayout;

// Input and output in percent of travel, -100..100 and wider where a point
// lies beyond; the source drawn with round points, the PX600 curve with
// square ones.
class CCurvePlot : public QWidget {
    Q_OBJECT
public:
    explicit CCurvePlot(const CurveComparison& curve, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CurveComparison m_curve;
    double m_yRange = 100;  // the output axis runs -m_yRange..m_yRange percent
    double m_xRange = 100;
};

// The two line styles and what they stand for.
class CCurveLegend : public QWidget {
    Q_OBJECT
public:
    explicit CCurveLegend(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A summary, the changed curves per condition, and a button that unfolds the
// unchanged ones (their plots are made when first shown).
class CCurvesPage : public QWidget {
    Q_OBJECT
public:
    explicit CCurvesPage(std::vector<CurveComparison> curves, QWidget* parent = nullptr);
    QPushButton* UnchangedButton() const { return m_unchangedButton; }
    void ShowUnchanged(bool show);

private:
    std::vector<CurveComparison> m_curves;
    QPushButton* m_unchangedButton = nullptr;
    QWidget* m_unchanged = nullptr;
    QVBoxLayout* m_unchangedLayout = nullptr;
    bool m_unchangedBuilt = false;
};
