#include "ui/qt/ArkletonDlg.h"

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

#include "app/DialogChoices.h"
#include "app/Strings.h"
#include "ui/DialogTexts.h"
#include "model/ConvertHW.h"
#include "ui/qt/BatchDlg.h"
#include "ui/qt/DetailDlg.h"
#include "ui/qt/Language.h"
#include "ui/qt/ModelListModel.h"
#include "ui/qt/ModelListView.h"
#include "ui/qt/Prompts.h"
#include "ui/qt/ReportDlg.h"
#include "ui/qt/SystemMenu.h"

namespace {

using namespace main_texts;

constexpr int kModelNameMax = 32;

QString Text(unsigned id)
{
    return QString::fromStdU16String(LoadString(id));
}

// Dialog units of the window's font: a quarter of the average width of the
// Latin letters and an eighth of the line height.
struct DialogUnits {
    double baseX;
    double baseY;

    explicit DialogUnits(const QFont& font)
    {
        const QFontMetricsF metrics(font);
        baseX = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
        baseY = metrics.height();
    }
    int X(int units) const { return qRound(units * baseX / 4.0); }
    int Y(int units) const { return qRound(units * baseY / 8.0); }
};

template <typename W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

CModelListView* MakeList(QWidget* parent, int id, CModelListModel* model, const DialogUnits& du)
{
    auto* list = Named(new CModelListView(parent), id);
    list->setModel(model);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    list->setWordWrap(false);
    list->setTabKeyNavigation(false);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    QHeaderView* header = list->horizontalHeader();
    header->setSectionsClickable(false);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    // The selection stays as visible without the focus as with it.
    QPalette palette = list->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    list->setPalette(palette);
    list->setMinimumSize(du.X(110), du.Y(80));
    // What the columns can show besides the rows of the moment.
    for (int c = 0; c < kListColumns; ++c) {
        QStringList samples;
        for (const std::u16string& sample : ListColumnSamples(c))
            samples << QString::fromStdU16String(sample);
        list->SetSampleTexts(c, samples);
    }
    return list;
}

// The line under a list that says why the location's image was passed over.
QLabel* MakeNotice(QWidget* parent, const char* name)
{
    auto* notice = new QLabel(parent);
    notice->setObjectName(QLatin1String(name));
    notice->setTextFormat(Qt::PlainText);
    notice->setWordWrap(true);
    notice->hide();
    return notice;
}

int SelectedRow(QTableView* list)
{
    const QModelIndexList rows = list->selectionModel() ? list->selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

}  // namespace

CArkletonDlg::CArkletonDlg(QWidget* parent) : QDialog(parent)
{
    // 1. Texts, icon, menu items. The icons are resources of the static ui
    // library: naming them here links them into the program.
    Q_INIT_RESOURCE(arkleton);
    setWindowTitle(Text(IDS_MAIN_CAPTION));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    for (int size : {16, 32, 48, 64, 128, 256})
        m_icon.addFile(QStringLiteral(":/icons/arkleton-%1.png").arg(size), QSize(size, size));
    setWindowIcon(m_icon);
    BuildControls();
    InstallSystemShortcuts(*this);

    // 2. The size the controls need is the smallest the window may take.
    layout()->activate();
    m_minRect = QRect(QPoint(0, 0), layout()->totalMinimumSize());
    setMinimumSize(m_minRect.size());

    // 3, 4. Placement, histories, transmitters, columns.
    RestoreSettings();

    // 5. Both stored locations are empty: both lists are filled.
    TransferControls();
    SaveDialogData(m_state, *this);
}

CArkletonDlg::~CArkletonDlg() = default;

void CArkletonDlg::BuildControls()
{
    const DialogUnits du(font());
    const int column = du.X(70);  // the width of the left-hand column in each group

    // "Convert from"
    m_sourceGroup = Named(new QGroupBox(Text(IDS_GROUP_FROM), this), IDC_GROUP_FROM);
    auto* sourceTransmitterLabel = Named(new QLabel(Text(IDS_SOURCE_TRANSMITTER), m_sourceGroup), IDC_SOURCE_TRANSMITTER_LABEL);
    m_sourceTransmitter = Named(new QComboBox(m_sourceGroup), IDC_SOURCE_TRANSMITTER);
    for (uint16_t type : kSourceTransmitters)
        m_sourceTransmitter->addItem(QString::fromStdU16String(TransmitterChoiceText(type)));
    m_sourceTransmitter->setFixedWidth(column);
    sourceTransmitterLabel->setBuddy(m_sourceTransmitter);
    auto* sourceLocationLabel = new QLabel(Text(IDS_SOURCE_LOCATION), m_sourceGroup);
    sourceLocationLabel->setObjectName(QStringLiteral("sourceLocationLabel"));
    m_sourceLocation = Named(new QComboBox(m_sourceGroup), IDC_SOURCE_LOCATION);
    m_sourceBrowse = Named(new QPushButton(Text(IDS_BROWSE_SOURCE), m_sourceGroup), IDC_BROWSE_SOURCE);
    m_sourceModel = new CModelListModel(this);
    m_sourceList = MakeList(m_sourceGroup, IDC_SOURCE_LIST, m_sourceModel, du);
    // Several models are converted in one run: Ctrl, Shift and Ctrl+A.
    m_sourceList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_sourceNotice = MakeNotice(m_sourceGroup, "sourceListNotice");

    // "Convert to"
    m_targetGroup = Named(new QGroupBox(Text(IDS_GROUP_TO), this), IDC_GROUP_TO);
    auto* targetTransmitterLabel = Named(new QLabel(Text(IDS_TARGET_TRANSMITTER), m_targetGroup), IDC_TARGET_TRANSMITTER_LABEL);
    m_targetTransmitter = Named(new QComboBox(m_targetGroup), IDC_TARGET_TRANSMITTER);
    for (uint16_t type : kTargetTransmitters)
        m_targetTransmitter->addItem(QString::fromStdU16String(TransmitterChoiceText(type)));
    m_targetTransmitter->setFixedWidth(column);
    targetTransmitterLabel->setBuddy(m_targetTransmitter);
    auto* targetLocationLabel = Named(new QLabel(Text(IDS_TARGET_LOCATION), m_targetGroup), IDC_TARGET_LOCATION_LABEL);
    m_targetLocation = Named(new QComboBox(m_targetGroup), IDC_TARGET_LOCATION);
    m_targetBrowse = Named(new QPushButton(Text(IDS_BROWSE_TARGET), m_targetGroup), IDC_BROWSE_TARGET);
    auto* modelNameLabel = Named(new QLabel(Text(IDS_MODEL_NAME), m_targetGroup), IDC_MODEL_NAME_LABEL);
    m_modelName = Named(new QLineEdit(m_targetGroup), IDC_MODEL_NAME);
    m_modelName->setMaxLength(kModelNameMax);
    m_modelName->setFixedWidth(column);
    modelNameLabel->setBuddy(m_modelName);
    m_detail = Named(new QPushButton(Text(IDS_DETAIL), m_targetGroup), IDC_DETAIL);
    m_detail->setFixedWidth(column);
    m_detail->setAutoDefault(false);
    m_convert = Named(new QPushButton(Text(IDS_CONVERT), m_targetGroup), IDC_CONVERT);
    m_convert->setFixedWidth(column);
    m_convert->setDefault(true);
    m_targetModel = new CModelListModel(this);
    m_targetList = MakeList(m_targetGroup, IDC_TARGET_LIST, m_targetModel, du);
    m_targetList->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
    m_targetNotice = MakeNotice(m_targetGroup, "targetListNotice");

    for (QPushButton* browse : {m_sourceBrowse, m_targetBrowse}) {
        browse->setAutoDefault(false);
        browse->setFixedWidth(qMax(du.X(16), browse->sizeHint().height()));
    }
    for (QComboBox* location : {m_sourceLocation, m_targetLocation}) {
        location->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        location->setMinimumContentsLength(8);
    }

    // Each group: a fixed left-hand column and the location column, whose
    // list takes the remaining width and height.
    auto place = [&](QGroupBox* group, QWidget* transmitterLabel, QWidget* transmitter, QWidget* locationLabel,
                     QWidget* location, QWidget* browse, QWidget* list, QWidget* notice,
                     std::initializer_list<QWidget*> below) {
        auto* grid = new QGridLayout(group);
        grid->addWidget(transmitterLabel, 0, 0);
        grid->addWidget(locationLabel, 0, 1, 1, 2);
        grid->addWidget(transmitter, 1, 0);
        grid->addWidget(location, 1, 1);
        grid->addWidget(browse, 1, 2);
        auto* column0 = new QVBoxLayout;
        for (QWidget* w : below)
            column0->addWidget(w);
        column0->addStretch(1);
        grid->addLayout(column0, 2, 0);
        grid->addWidget(list, 2, 1, 1, 2);
        grid->addWidget(notice, 3, 1, 1, 2);
        grid->setColumnMinimumWidth(0, column);
        grid->setColumnStretch(1, 1);
        grid->setRowStretch(2, 1);
    };
    place(m_sourceGroup, sourceTransmitterLabel, m_sourceTransmitter, sourceLocationLabel, m_sourceLocation,
          m_sourceBrowse, m_sourceList, m_sourceNotice, {});
    auto* nameGap = new QWidget(m_targetGroup);
    nameGap->setFixedHeight(du.Y(8));
    place(m_targetGroup, targetTransmitterLabel, m_targetTransmitter, targetLocationLabel, m_targetLocation,
          m_targetBrowse, m_targetList, m_targetNotice, {modelNameLabel, m_modelName, nameGap, m_detail, m_convert});

    // Both groups share the width equally around the centre.
    auto* groups = new QHBoxLayout(this);
    groups->addWidget(m_sourceGroup, 1);
    groups->addWidget(m_targetGroup, 1);

    connect(m_convert, &QPushButton::clicked, this, [this] { OnConvert(); });
    connect(m_detail, &QPushButton::clicked, this, [this] { OnDetail(); });
    connect(m_sourceBrowse, &QPushButton::clicked, this, [this] { OnBrowse(SettingsGroup::Source); });
    connect(m_targetBrowse, &QPushButton::clicked, this, [this] { OnBrowse(SettingsGroup::Target); });
    connect(m_sourceLocation, &QComboBox::activated, this,
            [this](int index) { OnLocationChosen(SettingsGroup::Source, index); });
    connect(m_targetLocation, &QComboBox::activated, this,
            [this](int index) { OnLocationChosen(SettingsGroup::Target, index); });
    connect(m_sourceList, &QTableView::doubleClicked, this, [this] { OnListDoubleClick(ListSide::Source); });
    connect(m_targetList, &QTableView::doubleClicked, this, [this] { OnListDoubleClick(ListSide::Target); });
    // The core decides what another source model means for the Detail
    // choices and for the model name.
    connect(m_sourceList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { OnSourceSelectionChanged(); });
    connect(m_sourceTransmitter, &QComboBox::currentIndexChanged, this, [this] { ReportSourceSelection(); });
    connect(m_modelName, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_state.ModelNameEdited(text.toStdU16String()); });
}

void CArkletonDlg::RestoreSettings()
{
    auto settings = OpenSettings();
    const WindowEdges edges = ReadWindowEdges(*settings);
    const QRect rect(QPoint(edges.left, edges.top), QPoint(edges.right - 1, edges.bottom - 1));
    setGeometry(QRect(rect.topLeft(), rect.size().expandedTo(m_minRect.size())));

    const std::u16string currentDir = QDir::currentPath().toStdU16String();
    struct Group {
        SettingsGroup group;
        QComboBox* location;
        QComboBox* transmitter;
        CModelListView* list;
    };
    for (const Group& g : {Group{SettingsGroup::Source, m_sourceLocation, m_sourceTransmitter, m_sourceList},
                           Group{SettingsGroup::Target, m_targetLocation, m_targetTransmitter, m_targetList}}) {
        const GroupSettings values = ReadGroupSettings(*settings, g.group, currentDir);
        for (const std::u16string& folder : values.folders)
            g.location->addItem(QString::fromStdU16String(folder));
        // An index outside the entries leaves the combo box without a selection.
        g.location->setCurrentIndex(values.mru >= 0 && values.mru < g.location->count() ? values.mru : -1);
        g.transmitter->setCurrentIndex(values.transmitter >= 0 && values.transmitter < g.transmitter->count()
                                           ? values.transmitter
                                           : -1);
        g.list->SetColumnWidths(values.columnWidths);
    }
}

GroupSettings CArkletonDlg::CollectGroupSettings(SettingsGroup group) const
{
    const bool source = group == SettingsGroup::Source;
    const QComboBox* location = source ? m_sourceLocation : m_targetLocation;
    const CModelListView* list = source ? m_sourceList : m_targetList;
    GroupSettings values;
    for (int i = 0; i < location->count(); ++i)
        values.folders.push_back(location->itemText(i).toStdU16String());
    values.mru = location->currentIndex();
    values.transmitter = (source ? m_sourceTransmitter : m_targetTransmitter)->currentIndex();
    for (int c = 0; c < kListColumns; ++c)
        values.columnWidths[c] = list->ColumnWidth(c);
    return values;
}

void CArkletonDlg::SaveSettings()
{
    auto settings = OpenSettings();
    // The restored rectangle, also while maximised or minimised.
    const bool placed = windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen);
    const QRect rect = placed ? normalGeometry() : geometry();
    WriteWindowEdges(*settings, {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()});
    WriteGroupSettings(*settings, SettingsGroup::Source, CollectGroupSettings(SettingsGroup::Source));
    WriteGroupSettings(*settings, SettingsGroup::Target, CollectGroupSettings(SettingsGroup::Target));
    WriteLanguageIndex(*settings, TheLanguage().m_language);
    settings->Sync();
}

void CArkletonDlg::reject()
{
    SaveSettings();
    QDialog::reject();
}

void CArkletonDlg::TransferControls()
{
    m_state.sourceTransmitter = SourceTransmitterAt(m_sourceTransmitter->currentIndex());
    m_state.targetTransmitter = TargetTransmitterAt(m_targetTransmitter->currentIndex());
    m_state.sourceLocationText = m_sourceLocation->currentText().toStdString();
    m_state.targetLocationText = m_targetLocation->currentText().toStdString();
    m_state.modelNameText = m_modelName->text().toStdU16String();
    m_state.selectedSourceRow = SelectedRow(m_sourceList);
}

// ---- IDialogHost ---------------------------------------------------------------

void CArkletonDlg::BeginWaitCursor()
{
    ++m_waitDepth;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CArkletonDlg::EndWaitCursor()
{
    if (m_waitDepth == 0)
        return;
    --m_waitDepth;
    QApplication::restoreOverrideCursor();
}

void CArkletonDlg::FocusControl(FocusTarget target, bool selectAll)
{
    QWidget* widget = nullptr;
    switch (target) {
    case FocusTarget::SourceTransmitter: widget = m_sourceTransmitter; break;
    case FocusTarget::SourceLocation: widget = m_sourceLocation; break;
    case FocusTarget::SourceList: widget = m_sourceList; break;
    case FocusTarget::TargetTransmitter: widget = m_targetTransmitter; break;
    case FocusTarget::TargetLocation: widget = m_targetLocation; break;
    case FocusTarget::ModelName: widget = m_modelName; break;
    }
    widget->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && selectAll)
        edit->selectAll();
}

void CArkletonDlg::MessageBox(const std::u16string& text, const std::u16string& caption, MessageKind kind)
{
    // The hardware warning after a conversion offers the conversion report.
    const bool offerReport = m_converting && kind == MessageKind::HardwareWarning;
    // A box must not show the wait cursor.
    const int depth = m_waitDepth;
    for (int i = 0; i < depth; ++i)
        QApplication::restoreOverrideCursor();
    const QMessageBox::StandardButton answer =
        ShowMessageWithOpen(this, QString::fromStdU16String(text), QString::fromStdU16String(caption), IconOf(kind),
                            offerReport ? Text(IDS_REPORT_BUTTON) : QString());
    for (int i = 0; i < depth; ++i)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    if (offerReport && answer == QMessageBox::Open)
        ShowReport();
}

void CArkletonDlg::ShowReport()
{
    // One report window, of the last conversion; it stays open beside the
    // main window while the pilot works through it.
    delete m_reportWindow;
    m_reportWindow = new CReportDlg(m_report, QString::fromStdU16String(m_state.m_modelName),
                                    QString::fromStdString(m_state.m_targetLocation), this);
    m_reportWindow->setAttribute(Qt::WA_DeleteOnClose);
    m_reportWindow->show();
    m_reportWindow->raise();
}

void CArkletonDlg::ShowModelList(ListSide side, const ModelListing& listing)
{
    const bool source = side == ListSide::Source;
    CModelListView* list = source ? m_sourceList : m_targetList;
    CModelListModel* model = source ? m_sourceModel : m_targetModel;
    model->SetListing(listing);
    list->FitColumns();
    QLabel* notice = source ? m_sourceNotice : m_targetNotice;
    notice->setText(QString::fromStdU16String(listing.notice));
    notice->setVisible(!listing.notice.empty());
    if (listing.selected >= 0)
        list->selectRow(listing.selected);
    if (source)
        ReportSourceSelection();  // another location, also one without rows
    else
        SetTargetListGreyed(listing.isVolume);
}

void CArkletonDlg::SetTargetListGreyed(bool greyed)
{
    // An image location cannot receive a model: the list is greyed, disabled
    // and shows no selection.
    m_targetModel->SetGreyed(greyed);
    m_targetList->setEnabled(!greyed);
    if (greyed) {
        m_targetList->clearSelection();
        m_targetList->setCurrentIndex(QModelIndex());
    }
}

// ---- Commands ------------------------------------------------------------------

std::vector<int> CArkletonDlg::SelectedSourceRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : m_sourceList->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CArkletonDlg::OnConvert()
{
    TransferControls();
    if (const std::vector<int> rows = SelectedSourceRows(); rows.size() > 1) {
        RunBatchCommand(*this, rows);
        return;
    }
    m_report = ConversionReport();
    ConvertOptions options;
    options.report = &m_report;
    m_converting = true;
    ::OnConvert(m_state, *this, TheConvertHW(), options);
    m_converting = false;
}

void CArkletonDlg::OnDetail()
{
    if (SelectedSourceRows().size() > 1)
        return;
    TransferControls();
    RunDetailCommand(*this);
}

QComboBox* CArkletonDlg::LocationCombo(SettingsGroup group) const
{
    return group == SettingsGroup::Source ? m_sourceLocation : m_targetLocation;
}

std::vector<std::string> CArkletonDlg::LocationEntries(SettingsGroup group) const
{
    const QComboBox* combo = LocationCombo(group);
    std::vector<std::string> entries;
    for (int i = 0; i < combo->count(); ++i)
        entries.push_back(combo->itemText(i).toStdString());
    return entries;
}

void CArkletonDlg::SetLocationEntries(SettingsGroup group, const std::vector<std::string>& entries)
{
    QComboBox* combo = LocationCombo(group);
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const std::string& entry : entries)
        combo->addItem(QString::fromStdString(entry));
    combo->setCurrentIndex(0);
}

void CArkletonDlg::OnBrowse(SettingsGroup group)
{
    const QString path = ChooseFolder(this, Text(IDS_BROWSE_TITLE), LocationCombo(group)->currentText());
    if (path.isEmpty())
        return;
    const std::string& stored = group == SettingsGroup::Source ? m_state.m_sourceLocation : m_state.m_targetLocation;
    std::vector<std::string> entries = LocationEntries(group);
    if (PlaceBrowsedLocation(entries, path.toStdString(), stored))
        SetLocationEntries(group, entries);
    TransferControls();
    SaveDialogData(m_state, *this);
}

void CArkletonDlg::OnLocationChosen(SettingsGroup group, int index)
{
    const std::string& stored = group == SettingsGroup::Source ? m_state.m_sourceLocation : m_state.m_targetLocation;
    std::vector<std::string> entries = LocationEntries(group);
    if (!PlaceChosenLocation(entries, index, stored))
        return;
    SetLocationEntries(group, entries);
    TransferControls();
    SaveDialogData(m_state, *this);
}

void CArkletonDlg::CopyModelName(QTableView* list)
{
    const int row = SelectedRow(list);
    if (row < 0)
        return;
    m_state.ModelNameCopied(list->model()->index(row, 1).data().toString().toStdU16String());
    m_modelName->setText(QString::fromStdU16String(m_state.modelNameText));
    TransferControls();
    SaveDialogData(m_state, *this);
}

void CArkletonDlg::OnListDoubleClick(ListSide side)
{
    CopyModelName(side == ListSide::Source ? m_sourceList : m_targetList);
}

void CArkletonDlg::ReportSourceSelection()
{
    m_state.sourceTransmitter = SourceTransmitterAt(m_sourceTransmitter->currentIndex());
    m_state.selectedSourceRow = SelectedRow(m_sourceList);
    NoteSourceSelection(m_state, TheConvertHW());
}

void CArkletonDlg::OnSourceSelectionChanged()
{
    // Detail choices and the model name edit serve one model's conversion;
    // several models get their names in the conversion's own dialog.
    const bool several = SelectedSourceRows().size() > 1;
    m_detail->setEnabled(!several);
    m_detail->setToolTip(several ? Text(IDS_DETAIL_SINGLE) : QString());
    m_modelName->setEnabled(!several);
    ReportSourceSelection();
    if (m_state.FollowSourceSelection())
        m_modelName->setText(QString::fromStdU16String(m_state.modelNameText));
}

void CArkletonDlg::contextMenuEvent(QContextMenuEvent* event)
{
    // The window menu's About and Setting items, on the window's background.
    QMenu menu(this);
    AddSystemMenuItems(menu, *this);
    menu.exec(event->globalPos());
}
