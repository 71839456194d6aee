#include "ui/qt/ReportDlg.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/CurveReport.h"
#include "app/Strings.h"
#include "ui/qt/CurvesView.h"
#include "ui/qt/Prompts.h"

namespace {

enum : unsigned {
    IDS_HEADING_COUNT = 1772,
    IDS_TITLE = 1773,
    IDS_SAVE = 1774,
    IDS_COPY = 1775,
    IDS_SAVE_TITLE = 1776,
    IDS_SAVE_FAILED = 1777,
    IDS_TEXT_FILES = 1778,
    IDS_CHECK_COUNT = 1794,
    IDS_NOTHING_TO_CHECK = 1795,
    IDS_CLOSE = 1720,
};

QString Q(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

// The detail lines behind a finding (offsets and bytes), for the tooltip.
QString DetailTip(const Finding& f)
{
    constexpr size_t kShown = 12;
    QStringList lines;
    for (size_t i = 0; i < f.detail.size() && i < kShown; ++i)
        lines << Q(f.detail[i]);
    if (f.detail.size() > kShown)
        lines << QStringLiteral("…");
    return lines.join(u'\n');
}

// Lines that wrap at the width the tree gives their level, so that nothing
// needs scrolling sideways: the view asks each row's height for that width.
class WrappingDelegate : public QStyledItemDelegate {
public:
    explicit WrappingDelegate(QTreeView* view) : QStyledItemDelegate(view), m_view(view) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        int depth = 1;  // the root's decoration takes one indentation
        for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
            ++depth;
        const int width = qMax(80, m_view->viewport()->width() - depth * m_view->indentation() - kMargin);
        const QRect need = opt.fontMetrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, opt.text);
        return QSize(width, need.height() + kPadding);
    }

private:
    static constexpr int kMargin = 12;
    static constexpr int kPadding = 4;
    QTreeView* m_view;
};

}  // namespace

CReportDlg::CReportDlg(const ConversionReport& report, const QString& modelName, const QString& folder,
                       QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("conversionReport"));
    m_title = Q(FormatString(IDS_TITLE, {modelName.toStdU16String()}));
    setWindowTitle(m_title);
    setSizeGripEnabled(true);
    m_text = Q(report.Document(modelName.toStdU16String()));
    m_suggested = QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(modelName + QStringLiteral(".txt"));

    const int mustCheck = report.MustCheckCount();
    m_summary = new QLabel(
        Q(mustCheck ? FormatString(IDS_CHECK_COUNT, {mustCheck}) : LoadString(IDS_NOTHING_TO_CHECK)), this);
    m_summary->setObjectName(QStringLiteral("reportSummary"));
    m_summary->setWordWrap(true);
    QFont bold = m_summary->font();
    bold.setBold(true);
    m_summary->setFont(bold);

    // One column that wraps its lines: nothing to scroll sideways.
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("reportTree"));
    m_tree->setColumnCount(1);
    m_tree->setHeaderHidden(true);
    m_tree->setWordWrap(true);
    m_tree->setUniformRowHeights(false);
    m_tree->setTextElideMode(Qt::ElideNone);
    m_tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tree->header()->setStretchLastSection(true);
    m_tree->header()->setSectionResizeMode(QHeaderView::Stretch);
    m_tree->setItemDelegate(new WrappingDelegate(m_tree));
    m_tree->viewport()->installEventFilter(this);

    // What must be checked is open; with nothing to check, the first group is.
    bool open = true;
    for (Severity s : {Severity::MustCheck, Severity::Expected, Severity::Information}) {
        const int count = report.Count(s);
        if (count == 0)
            continue;
        const bool expand = open;
        open = false;
        auto* group = new QTreeWidgetItem(m_tree, {Q(FormatString(IDS_HEADING_COUNT, {SeverityTitle(s), count}))});
        QFont font = group->font(0);
        font.setBold(true);
        group->setFont(0, font);
        QTreeWidgetItem* place = nullptr;
        for (const Finding& f : report.Findings()) {
            if (f.severity != s)
                continue;
            if (!place || place->text(0) != Q(f.where))
                place = new QTreeWidgetItem(group, {Q(f.where)});
            auto* item = new QTreeWidgetItem(place, {Q(FindingLine(f))});
            item->setToolTip(0, DetailTip(f));
            place->setExpanded(expand);
        }
        group->setExpanded(expand);
    }

    // Close in the program's own language (Qt's standard button is not
    // translated in every language).
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(Q(LoadString(IDS_CLOSE)), QDialogButtonBox::RejectRole);
    auto* save = buttons->addButton(Q(LoadString(IDS_SAVE)), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("reportSave"));
    auto* copy = buttons->addButton(Q(LoadString(IDS_COPY)), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("reportCopy"));
    connect(save, &QPushButton::clicked, this, [this] { OnSave(); });
    connect(copy, &QPushButton::clicked, this, [this] { OnCopy(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    // The curves before and after on a page of their own, beside the findings.
    if (!report.Curves().empty()) {
        m_pages = new QTabWidget(this);
        m_pages->setObjectName(QStringLiteral("reportPages"));
        m_pages->addTab(m_tree, Q(LoadString(IDS_CURVES_FINDINGS)));
        m_curves = new CCurvesPage(report.Curves(), m_pages);
        m_pages->addTab(m_curves, Q(LoadString(IDS_CURVES_TITLE)));
        layout->addWidget(m_pages, 1);
    } else {
        layout->addWidget(m_tree, 1);
    }
    layout->addWidget(buttons);
    const QFontMetrics metrics(font());
    resize(metrics.averageCharWidth() * 120, metrics.height() * 34);
    if (m_pages)  // three plots side by side
        resize(qMax(width(), 1000), qMax(height(), 680));
}

bool CReportDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Another width wraps the lines anew.
    if (watched == m_tree->viewport() && event->type() == QEvent::Resize)
        m_tree->doItemsLayout();
    return QDialog::eventFilter(watched, event);
}

void CReportDlg::OnSave()
{
    const QString path =
        ChooseSaveFile(this, Q(LoadString(IDS_SAVE_TITLE)), m_suggested, Q(LoadString(IDS_TEXT_FILES)));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray bytes = m_text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        ShowMessage(this,
                    Q(FormatString(IDS_SAVE_FAILED, {QDir::toNativeSeparators(path).toStdU16String()})) +
                        (reason.isEmpty() ? QString() : QStringLiteral("\n") + reason),
                    windowTitle(), QMessageBox::Critical);
        return;
    }
    m_suggested = path;
}

void CReportDlg::OnCopy()
{
    QGuiApplication::clipboard()->setText(m_text);
}
