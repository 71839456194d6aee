#include "ui/qt/BatchDlg.h"

#include <algorithm>

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/Strings.h"
#include "ui/DialogTexts.h"
#include "model/ConvertHW.h"
#include "ui/qt/ArkletonDlg.h"
#include "ui/qt/Prompts.h"
#include "ui/qt/ReportDlg.h"

namespace {

using namespace batch_texts;

constexpr int kModelNameMax = static_cast<int>(MODEL_NAME_MAX_TYPED);

QString Text(unsigned id)
{
    return QString::fromStdU16String(LoadString(id));
}

QString Q(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

// A message on one line of a table cell; the whole text is its tooltip.
QTableWidgetItem* MessageItem(const QString& text)
{
    auto* item = new QTableWidgetItem(QString(text).replace(u'\n', u' '));
    item->setToolTip(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

QTableWidgetItem* TextItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

QTableWidget* MakeTable(QWidget* parent, const char* name, std::initializer_list<unsigned> headings, int rows)
{
    auto* table = new QTableWidget(rows, static_cast<int>(headings.size()), parent);
    table->setObjectName(QLatin1String(name));
    QStringList labels;
    for (unsigned id : headings)
        labels << Text(id);
    table->setHorizontalHeaderLabels(labels);
    table->verticalHeader()->hide();
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(false);
    // The edits and buttons inside take the focus, not the cells.
    table->setFocusPolicy(Qt::NoFocus);
    return table;
}

QPushButton* AddButton(QDialogButtonBox* box, unsigned textId, QDialogButtonBox::ButtonRole role, const char* name)
{
    QPushButton* button = box->addButton(Text(textId), role);
    button->setObjectName(QLatin1String(name));
    return button;
}


}  // namespace

CBatchNamesDlg::CBatchNamesDlg(const MainDialogState& state, std::vector<BatchModel> models, QWidget* parent)
    : QDialog(parent), m_state(state), m_models(std::move(models))
{
    setWindowTitle(Text(IDS_NAMES_CAPTION));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(Q(FormatString(IDS_NAMES_INTRO, {static_cast<long long>(m_models.size())})), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    const int count = static_cast<int>(m_models.size());
    m_table = MakeTable(this, "batchNames", {IDS_SOURCE_MODEL, IDS_NEW_NAME, IDS_CHECK}, count);
    for (int i = 0; i < count; ++i) {
        const BatchModel& model = m_models[static_cast<size_t>(i)];
        QTableWidgetItem* source = TextItem(Q(model.modelName));
        source->setToolTip(QString::fromStdString(model.key));
        m_table->setItem(i, 0, source);
        auto* edit = new QLineEdit(Q(model.name), m_table);
        edit->setObjectName(QStringLiteral("batchName%1").arg(i));
        edit->setMaxLength(kModelNameMax);
        m_table->setCellWidget(i, 1, edit);
        connect(edit, &QLineEdit::textChanged, this, [this, i](const QString& text) {
            m_models[static_cast<size_t>(i)].name = text.toStdU16String();
            CheckNames();
        });
        m_table->setItem(i, 2, MessageItem(QString()));
    }
    m_table->resizeColumnsToContents();
    m_table->setColumnWidth(1, qMax(m_table->columnWidth(1), fontMetrics().horizontalAdvance(QString(18, u'M'))));
    layout->addWidget(m_table);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = AddButton(buttons, IDS_CONVERT, QDialogButtonBox::AcceptRole, "1");
    m_ok->setDefault(true);
    AddButton(buttons, IDS_CANCEL, QDialogButtonBox::RejectRole, "2");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(760, 420);
    if (count > 0)
        m_table->cellWidget(0, 1)->setFocus();
    CheckNames();
}

void CBatchNamesDlg::CheckNames()
{
    const std::vector<std::optional<std::u16string>> problems = BatchNameProblems(m_state, m_models);
    bool usable = true;
    for (size_t i = 0; i < problems.size(); ++i) {
        QTableWidgetItem* check = m_table->item(static_cast<int>(i), 2);
        const QString text = problems[i] ? Q(*problems[i]) : QString();
        check->setText(QString(text).replace(u'\n', u' '));
        check->setToolTip(text);
        check->setForeground(QColor(0xc0, 0, 0));
        usable = usable && !problems[i];
    }
    m_ok->setEnabled(usable);
}

CBatchSummaryDlg::CBatchSummaryDlg(const CBatchConvert& run, QWidget* parent) : QDialog(parent)
{
    using Result = BatchOutcome::Result;
    setWindowTitle(Text(IDS_SUMMARY_CAPTION));
    auto* layout = new QVBoxLayout(this);
    auto* counts = new QLabel(Q(FormatString(IDS_SUMMARY_COUNTS, {static_cast<long long>(run.Count(Result::Stored)),
                                                                  static_cast<long long>(run.Count()),
                                                                  static_cast<long long>(run.Count(Result::Refused)),
                                                                  static_cast<long long>(run.Count(Result::NotConverted))})),
                              this);
    counts->setObjectName(QStringLiteral("batchCounts"));
    layout->addWidget(counts);
    const std::vector<BatchOutcome>& outcomes = run.Outcomes();
    auto* table = MakeTable(this, "batchSummary", {IDS_SOURCE_MODEL, IDS_NEW_NAME, IDS_RESULT, IDS_MUST_CHECK, 0,
                                                   IDS_MESSAGES},
                            static_cast<int>(outcomes.size()));
    table->horizontalHeaderItem(4)->setText(QString());
    for (int i = 0; i < static_cast<int>(outcomes.size()); ++i) {
        const BatchOutcome& o = outcomes[static_cast<size_t>(i)];
        const bool stored = o.result == Result::Stored;
        table->setItem(i, 0, TextItem(Q(o.model.modelName)));
        table->setItem(i, 1, TextItem(Q(o.model.name)));
        table->setItem(i, 2, TextItem(Text(stored ? IDS_STORED : o.result == Result::Refused ? IDS_REFUSED
                                                                                             : IDS_NOT_CONVERTED)));
        table->setItem(i, 3, TextItem(stored ? QString::number(o.MustCheck()) : QString()));
        if (stored) {
            auto* report = new QPushButton(Text(IDS_REPORT_BUTTON), table);
            report->setObjectName(QStringLiteral("batchReport%1").arg(i));
            report->setAutoDefault(false);
            connect(report, &QPushButton::clicked, this, [this, &o] { ShowReport(o); });
            table->setCellWidget(i, 4, report);
        }
        QString messages;
        for (const std::u16string& m : o.messages)
            messages += (messages.isEmpty() ? QString() : QStringLiteral("\n")) + Q(m);
        table->setItem(i, 5, MessageItem(messages));
    }
    table->resizeColumnsToContents();
    layout->addWidget(table);
    // Every stored model has the hardware warning: it is said once.
    if (run.Count(Result::Stored) > 0) {
        auto* warning = new QLabel(Text(IDS_HARDWARE_WARNING), this);
        warning->setObjectName(QStringLiteral("batchHardwareWarning"));
        warning->setWordWrap(true);
        warning->setStyleSheet(QStringLiteral("QLabel { color: #c00000; font-weight: bold; }"));
        layout->addWidget(warning);
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = AddButton(buttons, IDS_CLOSE, QDialogButtonBox::RejectRole, "2");
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(900, 460);
}

void CBatchSummaryDlg::ShowReport(const BatchOutcome& outcome)
{
    // The same report window as after a single conversion, of this model.
    CReportDlg report(outcome.report, Q(outcome.model.name), QString(), this);
    RunDialog(report);
}

void RunBatchCommand(CArkletonDlg& dialog, const std::vector<int>& rows)
{
    MainDialogState& state = dialog.State();
    const std::vector<int> selected = SaveDialogDataKeepingRows(state, dialog, rows);
    // A refilled list shows other models now; nothing was chosen among them.
    if (selected.empty())
        return;
    const std::u16string caption = LoadString(IDS_MAIN_CAPTION);
    if (const std::optional<CommandRefusal> refusal = CheckBatchTarget(state)) {
        if (refusal->focus)
            dialog.FocusControl(*refusal->focus, refusal->selectAll);
        dialog.MessageBox(refusal->text, caption, MessageKind::Error);
        return;
    }

    CBatchNamesDlg names(state, ProposeBatchNames(state, selected), &dialog);
    if (RunDialog(names) != QDialog::Accepted)
        return;

    CBatchConvert run(state, TheConvertHW(), names.Models());
    QProgressDialog progress(QString(), Text(IDS_CANCEL), 0, static_cast<int>(run.Count()), &dialog);
    progress.setObjectName(QStringLiteral("batchProgress"));
    progress.setWindowTitle(Q(caption));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    while (!run.Finished()) {
        const BatchModel& next = run.Outcomes()[run.Done()].model;
        progress.setLabelText(Q(FormatString(IDS_PROGRESS, {next.name, static_cast<long long>(run.Done() + 1),
                                                            static_cast<long long>(run.Count())})));
        progress.setValue(static_cast<int>(run.Done()));
        // A Cancel pressed while a model was converted counts from here: the
        // model in hand was finished, the next is not started.
        QCoreApplication::processEvents();
        if (progress.wasCanceled()) {
            run.Cancel();
            break;
        }
        run.ConvertNext(dialog);
        emit dialog.batchModelDone(static_cast<int>(run.Done()), static_cast<int>(run.Count()));
    }
    progress.setValue(static_cast<int>(run.Done()));
    progress.close();
    run.Finish(dialog);

    CBatchSummaryDlg summary(run, &dialog);
    RunDialog(summary);
}
