#include "ui/qt/DetailDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Strings.h"
#include "ui/DialogTexts.h"
#include "ui/qt/ArkletonDlg.h"
#include "ui/qt/Prompts.h"

namespace {

using namespace detail_texts;

constexpr int kRowsPerColumn = 10;
constexpr int kHardwareColumns = 3;

QString Text(unsigned id)
{
    return QString::fromStdU16String(LoadString(id));
}

template <typename W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

// A mark the pilot must not miss: red and bold, with a tooltip that says why.
void ShowMark(QLabel* label, const std::u16string& text, const std::u16string& tip, bool marked)
{
    label->setText(QString::fromStdU16String(text));
    label->setToolTip(QString::fromStdU16String(tip));
    label->setStyleSheet(marked ? QStringLiteral("QLabel { color: #c00000; font-weight: bold; }") : QString());
    label->setProperty("marked", marked);
}

// Runs the detail dialog over the main window for the Detail command.
class DetailRunner : public IDetailDialog {
public:
    explicit DetailRunner(QWidget* parent) : m_parent(parent) {}
    bool RunDetailDialog(CDetailData& data) override
    {
        CModelDataDetailDlg dialog(data, m_parent);
        return RunDialog(dialog) == QDialog::Accepted;
    }

private:
    QWidget* m_parent;
};

}  // namespace

CModelDataDetailDlg::CModelDataDetailDlg(CDetailData& data, QWidget* parent) : QDialog(parent), m_data(data)
{
    setWindowTitle(Text(IDS_DETAIL_CAPTION));
    BuildControls();
    InitHardware();
    LoadData();
}

void CModelDataDetailDlg::BuildControls()
{
    // Condition names: a label and an edit per condition, then the two buttons.
    auto* conditions = new QGroupBox(Text(IDS_CONDITION_GROUP), this);
    conditions->setObjectName(QStringLiteral("conditionGroup"));
    auto* conditionGrid = new QGridLayout(conditions);
    for (int c = 0; c < CONDITION_COUNT; ++c) {
        auto* label = new QLabel(Text(IDS_CONDITION_LABEL + c), conditions);
        m_conditionEdits[c] = Named(new QLineEdit(conditions), kConditionEditIds[c]);
        m_conditionEdits[c]->setMaxLength(static_cast<int>(CONDITION_NAME_MAX_TYPED));
        // Room for more than the PX600 keeps, so that what it drops is seen.
        m_conditionEdits[c]->setMinimumWidth(m_conditionEdits[c]->fontMetrics().horizontalAdvance(QString(12, u'M')));
        label->setBuddy(m_conditionEdits[c]);
        // What the PX600 keeps of a longer name shows beside it; the room
        // for it is kept so that the edits do not move.
        m_conditionMarks[c] = Named(new QLabel(conditions), IDC_CONDITION_MARK_FIRST + c);
        m_conditionMarks[c]->setMinimumWidth(m_conditionMarks[c]->fontMetrics().horizontalAdvance(
            QString::fromStdU16String(FormatString(IDS_CONDITION_SHORTENED, {u"WWWWWWWW"}))));
        conditionGrid->addWidget(label, c, 0);
        conditionGrid->addWidget(m_conditionEdits[c], c, 1);
        conditionGrid->addWidget(m_conditionMarks[c], c, 2);
        connect(m_conditionEdits[c], &QLineEdit::textChanged, this,
                [this, c](const QString& text) { OnConditionEdited(c, text); });
    }
    QPushButton* conditionReset = Named(new QPushButton(Text(IDS_CONDITION_RESET_BUTTON), conditions), IDC_CONDITION_RESET);
    QPushButton* conditionDefault = Named(new QPushButton(Text(IDS_CONDITION_DEFAULT_BUTTON), conditions), IDC_CONDITION_DEFAULT);
    auto* conditionButtons = new QHBoxLayout;
    conditionButtons->addStretch(1);
    conditionButtons->addWidget(conditionReset);
    conditionButtons->addWidget(conditionDefault);
    conditionGrid->addLayout(conditionButtons, CONDITION_COUNT, 0, 1, 3);
    conditionGrid->setRowStretch(CONDITION_COUNT + 1, 1);

    // Dual rate names of the condition the selector shows.
    auto* dualRates = new QGroupBox(Text(IDS_DUAL_RATE_GROUP), this);
    dualRates->setObjectName(QStringLiteral("dualRateGroup"));
    auto* dualRateGrid = new QGridLayout(dualRates);
    auto* selectorLabel = Named(new QLabel(Text(IDS_SELECTOR_LABEL), dualRates), IDC_CONDITION_SELECTOR_LABEL);
    m_conditionSelector = Named(new QComboBox(dualRates), IDC_CONDITION_SELECTOR);
    for (int c = 0; c < CONDITION_COUNT; ++c)
        m_conditionSelector->addItem(Text(IDS_CONDITION_CHOICE + c));
    m_conditionSelector->setCurrentIndex(m_data.m_currentCondition);
    selectorLabel->setBuddy(m_conditionSelector);
    dualRateGrid->addWidget(selectorLabel, 0, 0);
    dualRateGrid->addWidget(m_conditionSelector, 0, 1);
    for (int d = 0; d < DUAL_RATE_COUNT; ++d) {
        m_dualRateLabels[d] = Named(new QLabel(Text(IDS_DUAL_RATE_LABEL + d), dualRates), kDualRateLabelIds[d]);
        m_dualRateEdits[d] = Named(new QLineEdit(dualRates), kDualRateEditIds[d]);
        m_dualRateEdits[d]->setMaxLength(static_cast<int>(DUAL_RATE_NAME_MAX_TYPED));
        m_dualRateLabels[d]->setBuddy(m_dualRateEdits[d]);
        dualRateGrid->addWidget(m_dualRateLabels[d], d + 1, 0);
        dualRateGrid->addWidget(m_dualRateEdits[d], d + 1, 1);
        connect(m_dualRateEdits[d], &QLineEdit::editingFinished, this, [this] { StoreDualRates(); });
    }
    m_dualRateReset = Named(new QPushButton(Text(IDS_DUAL_RATE_RESET), dualRates), IDC_DUAL_RATE_RESET);
    auto* dualRateButtons = new QHBoxLayout;
    dualRateButtons->addStretch(1);
    dualRateButtons->addWidget(m_dualRateReset);
    dualRateGrid->addLayout(dualRateButtons, DUAL_RATE_COUNT + 1, 0, 1, 2);
    dualRateGrid->setRowStretch(DUAL_RATE_COUNT + 2, 1);
    // The PX600 keeps no dual rate names: they are shown, not edited. The
    // selector still switches the condition shown.
    const bool dualRatesEnabled = m_data.m_dualRateEnabled != 0;
    for (int d = 0; d < DUAL_RATE_COUNT; ++d) {
        m_dualRateLabels[d]->setEnabled(dualRatesEnabled);
        m_dualRateEdits[d]->setEnabled(dualRatesEnabled);
    }
    m_dualRateReset->setEnabled(dualRatesEnabled);

    // Hardware: three columns of ten rows; each row a label (the source
    // control), a list (the target control) and what the conversion does.
    auto* hardware = new QGroupBox(Text(IDS_HARDWARE_GROUP), this);
    hardware->setObjectName(QStringLiteral("hardwareGroup"));
    auto* hardwareGrid = new QGridLayout(hardware);
    hardwareGrid->setHorizontalSpacing(6);
    for (int col = 0; col < kHardwareColumns; ++col) {
        const int x = col * 4;
        hardwareGrid->addWidget(new QLabel(Text(IDS_CONVERT_FROM), hardware), 0, x);
        hardwareGrid->addWidget(new QLabel(Text(IDS_CONVERT_TO), hardware), 0, x + 1);
        if (col > 0)
            hardwareGrid->setColumnMinimumWidth(x - 1, 12);
        hardwareGrid->setColumnStretch(x + 2, 1);
    }
    for (int r = 0; r < HW_ROWS; ++r) {
        const int x = (r / kRowsPerColumn) * 4;
        const int y = 1 + r % kRowsPerColumn;
        m_hardwareLabels[r] = Named(new QLabel(Text(IDS_HARDWARE_EMPTY_LABEL), hardware), kHardwareLabelIds[r]);
        m_hardwareCombos[r] = Named(new QComboBox(hardware), kHardwareComboIds[r]);
        m_hardwareCombos[r]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        m_outcomes[r] = Named(new QLabel(hardware), IDC_HARDWARE_OUTCOME_FIRST + r);
        m_hardwareLabels[r]->setBuddy(m_hardwareCombos[r]);
        hardwareGrid->addWidget(m_hardwareLabels[r], y, x);
        hardwareGrid->addWidget(m_hardwareCombos[r], y, x + 1);
        hardwareGrid->addWidget(m_outcomes[r], y, x + 2);
    }

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = Named(buttons->addButton(Text(IDS_OK), QDialogButtonBox::AcceptRole), 1);
    auto* cancel = Named(buttons->addButton(Text(IDS_CANCEL), QDialogButtonBox::RejectRole), 2);
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    for (QPushButton* b : {conditionReset, conditionDefault, m_dualRateReset})
        b->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* names = new QHBoxLayout;
    names->addWidget(conditions, 1);
    names->addWidget(dualRates, 1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(names);
    all->addWidget(hardware);
    all->addWidget(buttons);

    connect(conditionReset, &QPushButton::clicked, this, [this] { Press(&CDetailData::ResetConditionNames); });
    connect(conditionDefault, &QPushButton::clicked, this, [this] { Press(&CDetailData::SetDefaultConditionNames); });
    connect(m_dualRateReset, &QPushButton::clicked, this, [this] { Press(&CDetailData::ResetDualRateNames); });
    connect(m_conditionSelector, &QComboBox::currentIndexChanged, this,
            [this](int index) { OnConditionSelected(index); });
}

void CModelDataDetailDlg::Press(bool (CDetailData::*action)(IQuestionHost&))
{
    // The buttons act on the names as they stand in the edits: those go into
    // the data first, so that a reload shows them again instead of the names
    // the dialog opened with.
    SaveData();
    if (m_data.m_dualRateEnabled)
        StoreDualRates();
    if ((m_data.*action)(*this))
        LoadData();
}

void CModelDataDetailDlg::InitHardware()
{
    for (int r = 0; r < HW_ROWS; ++r) {
        const DetailHardwareLine line = m_data.HardwareLine(r);
        QComboBox* combo = m_hardwareCombos[r];
        m_hardwareLabels[r]->setText(QString::fromStdU16String(line.label));
        m_hardwareLabels[r]->setEnabled(line.enabled);
        combo->setEnabled(line.enabled);
        for (const std::u16string& option : line.options)
            combo->addItem(QString::fromStdU16String(option));
        if (line.enabled)
            combo->setCurrentIndex(m_data.m_hardwareChoice[r]);
        ShowOutcome(r);
        connect(combo, &QComboBox::currentIndexChanged, this, [this, r](int index) { OnHardwareChosen(r, index); });
    }
}

void CModelDataDetailDlg::LoadData()
{
    for (int c = 0; c < CONDITION_COUNT; ++c)
        m_conditionEdits[c]->setText(QString::fromStdU16String(m_data.m_conditionText[c]));
    // The exchanged dual rate texts are replaced at once by the names of the
    // condition shown.
    for (int d = 0; d < DUAL_RATE_COUNT; ++d)
        m_dualRateEdits[d]->setText(QString::fromStdU16String(m_data.ShownDualRate(d)));
}

void CModelDataDetailDlg::SaveData()
{
    for (int c = 0; c < CONDITION_COUNT; ++c)
        m_data.m_conditionText[c] = m_conditionEdits[c]->text().toStdU16String();
    for (int d = 0; d < DUAL_RATE_COUNT; ++d)
        m_data.m_dualRateText[d] = m_dualRateEdits[d]->text().toStdU16String();
}

void CModelDataDetailDlg::StoreDualRates()
{
    std::u16string texts[DUAL_RATE_COUNT];
    for (int d = 0; d < DUAL_RATE_COUNT; ++d)
        texts[d] = m_dualRateEdits[d]->text().toStdU16String();
    m_data.StoreDualRates(texts);
}

void CModelDataDetailDlg::OnConditionSelected(int index)
{
    // What was typed belongs to the condition shown until now, also when the
    // edit has not yet lost the focus.
    if (m_data.m_dualRateEnabled)
        StoreDualRates();
    m_data.SelectCondition(index);
    SaveData();
    for (int d = 0; d < DUAL_RATE_COUNT; ++d)
        m_dualRateEdits[d]->setText(QString::fromStdU16String(m_data.ShownDualRate(d)));
}

void CModelDataDetailDlg::OnHardwareChosen(int row, int index)
{
    m_data.ChooseHardware(row, index);
    // A choice can make other rows share a control, or stop sharing one.
    for (int r = 0; r < HW_ROWS; ++r)
        ShowOutcome(r);
}

void CModelDataDetailDlg::ShowOutcome(int row)
{
    const DetailHardwareOutcome outcome = m_data.HardwareOutcome(row);
    // "none" and a shared control must not go unnoticed.
    ShowMark(m_outcomes[row], outcome.text, outcome.tip, outcome.Marked());
    m_outcomes[row]->setProperty("none", outcome.none);
    m_hardwareCombos[row]->setToolTip(m_outcomes[row]->toolTip());
}

void CModelDataDetailDlg::OnConditionEdited(int condition, const QString& text)
{
    m_data.m_conditionText[condition] = text.toStdU16String();
    const DetailNameMark mark = m_data.ConditionNameMark(condition);
    ShowMark(m_conditionMarks[condition], mark.text, mark.tip, mark.shortened);
    m_conditionEdits[condition]->setToolTip(m_conditionMarks[condition]->toolTip());
}

bool CModelDataDetailDlg::AskYesNo(const std::u16string& text, const std::u16string& caption)
{
    return ShowMessage(this, QString::fromStdU16String(text), QString::fromStdU16String(caption),
                       QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CModelDataDetailDlg::accept()
{
    SaveData();
    if (m_data.m_dualRateEnabled)
        StoreDualRates();
    // A typed condition name the core refuses keeps the dialog open on it.
    const int refused = m_data.RefusedConditionName();
    if (refused >= 0) {
        ShowMessage(this, QString::fromStdU16String(ConditionNameRefusal(refused)),
                    QString::fromStdU16String(m_data.m_caption), QMessageBox::Critical);
        m_conditionEdits[refused]->setFocus(Qt::OtherFocusReason);
        m_conditionEdits[refused]->selectAll();
        return;
    }
    QDialog::accept();
}

void RunDetailCommand(CArkletonDlg& dialog)
{
    DetailRunner runner(&dialog);
    ::OnDetail(dialog.State(), dialog, TheConvertHW(), runner);
}
