#include "ui/qt/CurvesView.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/CurveReport.h"
#include "app/Strings.h"

namespace {

constexpr int kColumns = 3;
const QColor kSourceColor(30, 90, 200);
const QColor kTargetColor(220, 80, 0);

QString Text(unsigned id) { return QString::fromStdU16String(LoadString(id)); }
QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

// The smallest multiple of 25 percent that holds every value, at least 100.
double AxisRange(const CurveComparison& c, bool inputs)
{
    double largest = 100;
    for (const auto* points : {&c.source, &c.target})
        for (const CurvePoint& p : *points)
            largest = std::max(largest, std::fabs(inputs ? p.x : p.y) / kCurveUnitsPerPercent);
    return std::ceil(largest / 25.0 - 1e-9) * 25.0;
}

void DrawCurve(QPainter& painter, const std::vector<CurvePoint>& points, const QColor& color, bool squares,
               const std::function<QPointF(const CurvePoint&)>& at)
{
    if (points.empty())
        return;
    QPainterPath path(at(points.front()));
    for (size_t i = 1; i < points.size(); ++i)
        path.lineTo(at(points[i]));
    // The source wider, so that it shows beside the PX600 curve drawn over it.
    painter.setPen(QPen(color, squares ? 1.5 : 3.0, squares ? Qt::DashLine : Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(QPen(color, 1.0));
    painter.setBrush(squares ? QBrush(Qt::white) : QBrush(color));
    for (const CurvePoint& p : points) {
        const QPointF c = at(p);
        if (squares)
            painter.drawRect(QRectF(c.x() - 2.5, c.y() - 2.5, 5, 5));
        else
            painter.drawEllipse(c, 3.5, 3.5);
    }
}

// A framed cell: what the curve is, its plot, its largest difference.
QWidget* CurveCell(const CurveComparison& curve, QWidget* parent)
{
    auto* cell = new QWidget(parent);
    auto* layout = new QVBoxLayout(cell);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* title = new QLabel(Q(CurveRecordText(curve)), cell);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    layout->addWidget(new CCurvePlot(curve, cell));
    auto* difference = new QLabel(Q(CurveDifferenceText(curve)), cell);
    layout->addWidget(difference);
    return cell;
}

// The changed or the unchanged curves, a group per condition.
void AddConditionGroups(QVBoxLayout* layout, const std::vector<CurveComparison>& curves, bool changed,
                        QWidget* parent)
{
    QGridLayout* grid = nullptr;
    int condition = -1, n = 0;
    for (const CurveComparison& curve : curves) {
        if (curve.Changed() != changed)
            continue;
        if (curve.condition != condition) {
            condition = curve.condition;
            auto* group = new QGroupBox(Q(CurveConditionText(curve)), parent);
            grid = new QGridLayout(group);
            grid->setColumnStretch(kColumns, 1);  // plots keep their size, to the left
            layout->addWidget(group);
            n = 0;
        }
        grid->addWidget(CurveCell(curve, parent), n / kColumns, n % kColumns);
        ++n;
    }
}

}  // namespace

// ---- Plot ------------------------------------------------------------------------

CCurvePlot::CCurvePlot(const CurveComparison& curve, QWidget* parent) : QWidget(parent), m_curve(curve)
{
    m_yRange = AxisRange(curve, false);
    m_xRange = AxisRange(curve, true);
    setAccessibleName(Q(CurveRecordText(curve)));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CCurvePlot::sizeHint() const { return {260, 210}; }
QSize CCurvePlot::minimumSizeHint() const { return {200, 160}; }

void CCurvePlot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.8));
    painter.setFont(small);
    const QFontMetrics fm(small);
    const QString inputTitle = Q(FormatString(IDS_CURVES_INPUT, {}));
    const QString outputTitle = Q(FormatString(IDS_CURVES_OUTPUT, {}));
    // Room for the tick labels and the axis titles.
    // Lines a little taller than the font's own: texts in a script the font
    // lacks come from a taller fallback font.
    const int line = fm.height() * 5 / 4;
    const int left = line + fm.horizontalAdvance(QStringLiteral("-100")) + 6;
    const int bottom = 2 * line + 2;
    const int right = 6;
    const QRectF area(left, 6, width() - left - right, height() - bottom - 6);

    auto at = [&](const CurvePoint& p) {
        const double x = p.x / kCurveUnitsPerPercent, y = p.y / kCurveUnitsPerPercent;
        return QPointF(area.left() + (x + m_xRange) / (2 * m_xRange) * area.width(),
                       area.bottom() - (y + m_yRange) / (2 * m_yRange) * area.height());
    };

    // Grid every 50 percent, the axes through 0 darker, labels on the edges.
    const QColor gridColor = palette().mid().color();
    for (int axis = 0; axis < 2; ++axis) {
        const double range = axis == 0 ? m_xRange : m_yRange;
        for (double v = -range; v <= range + 1e-9; v += 50) {
            const bool zero = std::fabs(v) < 1e-9;
            painter.setPen(QPen(zero ? palette().text().color() : gridColor, zero ? 1.0 : 0.5));
            const QPointF a = axis == 0 ? at({v * kCurveUnitsPerPercent, -m_yRange * kCurveUnitsPerPercent})
                                        : at({-m_xRange * kCurveUnitsPerPercent, v * kCurveUnitsPerPercent});
            const QPointF b = axis == 0 ? at({v * kCurveUnitsPerPercent, m_yRange * kCurveUnitsPerPercent})
                                        : at({m_xRange * kCurveUnitsPerPercent, v * kCurveUnitsPerPercent});
            painter.drawLine(a, b);
            painter.setPen(palette().text().color());
            const QString label = QString::number(v, 'f', 0);
            // The end labels of the input axis inside its ends, clear of
            // the output labels.
            const int align = v < -range + 1e-9 ? Qt::AlignLeft : v > range - 1e-9 ? Qt::AlignRight : Qt::AlignHCenter;
            const double labelLeft = align == Qt::AlignLeft ? a.x() : align == Qt::AlignRight ? a.x() - 40 : a.x() - 20;
            if (axis == 0)
                painter.drawText(QRectF(labelLeft, area.bottom() + 2, 40, line), align, label);
            else
                painter.drawText(QRectF(line, a.y() - line / 2.0, left - line - 4, line),
                                 Qt::AlignRight | Qt::AlignVCenter, label);
        }
    }
    painter.setPen(palette().text().color());
    painter.drawRect(area);
    painter.drawText(QRectF(area.left(), height() - line, area.width(), line), Qt::AlignHCenter | Qt::AlignBottom,
                     inputTitle);
    painter.save();
    painter.translate(0, area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-area.height() / 2, 0, area.height(), line), Qt::AlignHCenter | Qt::AlignTop, outputTitle);
    painter.restore();

    painter.setClipRect(area.adjusted(-3, -3, 3, 3));
    // Where the two lie furthest apart, for a changed curve.
    if (m_curve.Changed()) {
        painter.setPen(QPen(QColor(200, 0, 0), 1.0, Qt::DotLine));
        const QPointF top = at({m_curve.atInput, m_yRange * kCurveUnitsPerPercent});
        painter.drawLine(top, QPointF(top.x(), area.bottom()));
    }
    DrawCurve(painter, m_curve.source, kSourceColor, false, at);
    DrawCurve(painter, m_curve.target, kTargetColor, true, at);
}

// ---- Legend ----------------------------------------------------------------------

CCurveLegend::CCurveLegend(QWidget* parent) : QWidget(parent)
{
    // Its own height always, also when the page scrolls.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize CCurveLegend::sizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(Text(IDS_CURVES_SOURCE)) + fm.horizontalAdvance(Text(IDS_CURVES_TARGET)) + 120,
            fm.height() + 6};
}

QSize CCurveLegend::minimumSizeHint() const { return sizeHint(); }

void CCurveLegend::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    const double y = height() / 2.0;
    double x = 4;
    for (int i = 0; i < 2; ++i) {
        const bool target = i == 1;
        const std::vector<CurvePoint> sample{{0, 0}, {30, 0}};
        DrawCurve(painter, sample, target ? kTargetColor : kSourceColor, target,
                  [&](const CurvePoint& p) { return QPointF(x + p.x, y); });
        x += 38;
        const QString label = Text(target ? IDS_CURVES_TARGET : IDS_CURVES_SOURCE);
        painter.setPen(palette().text().color());
        painter.drawText(QPointF(x, y + fm.ascent() / 2.0 - 1), label);
        x += fm.horizontalAdvance(label) + 24;
    }
}

// ---- Page ------------------------------------------------------------------------

CCurvesPage::CCurvesPage(std::vector<CurveComparison> curves, QWidget* parent)
    : QWidget(parent), m_curves(std::move(curves))
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    outer->addWidget(scroll);
    auto* content = new QWidget(scroll);
    auto* layout = new QVBoxLayout(content);

    const long long unchanged = std::count_if(m_curves.begin(), m_curves.end(), [](const auto& c) { return !c.Changed(); });
    std::u16string summary = CurveReportText(m_curves);
    while (!summary.empty() && summary.back() == u'\n')
        summary.pop_back();
    // The summary's first line only; the plots below stand for the list.
    const size_t firstLine = summary.find(u'\n');
    auto* heading = new QLabel(Q(summary.substr(0, firstLine)), content);
    layout->addWidget(heading);
    layout->addWidget(new CCurveLegend(content));
    AddConditionGroups(layout, m_curves, true, content);

    m_unchangedButton = new QPushButton(Q(FormatString(IDS_CURVES_SHOW_UNCHANGED, {unchanged})), content);
    m_unchangedButton->setCheckable(true);
    m_unchangedButton->setEnabled(unchanged > 0);
    auto* row = new QHBoxLayout;
    row->addWidget(m_unchangedButton);
    row->addStretch();
    layout->addLayout(row);
    m_unchanged = new QWidget(content);
    m_unchangedLayout = new QVBoxLayout(m_unchanged);
    m_unchangedLayout->setContentsMargins(0, 0, 0, 0);
    m_unchanged->setVisible(false);
    layout->addWidget(m_unchanged);
    layout->addStretch();
    scroll->setWidget(content);
    connect(m_unchangedButton, &QPushButton::toggled, this, &CCurvesPage::ShowUnchanged);
}

void CCurvesPage::ShowUnchanged(bool show)
{
    if (show && !m_unchangedBuilt) {
        m_unchangedBuilt = true;
        AddConditionGroups(m_unchangedLayout, m_curves, false, m_unchanged);
    }
    m_unchangedButton->setChecked(show);
    m_unchanged->setVisible(show);
}
