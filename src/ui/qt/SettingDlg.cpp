#include "ui/qt/SettingDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Strings.h"
#include "ui/qt/ArkletonDlg.h"
#include "ui/qt/Language.h"
#include "ui/qt/Prompts.h"

namespace {

enum : unsigned {
    IDS_SETTING_CAPTION = 2210,
    IDS_LANGUAGE_GROUP = 2211,
    IDS_OK = 2212,
    IDS_CANCEL = 2213,
};
QString Text(unsigned id)
{
    return QString::fromStdU16String(LoadString(id));
}

}  // namespace

CSettingDlg::CSettingDlg(int language, QWidget* parent) : QDialog(parent), m_language(language)
{
    setWindowTitle(Text(IDS_SETTING_CAPTION));
    auto* group = new QGroupBox(Text(IDS_LANGUAGE_GROUP), this);
    group->setObjectName(QString::number(IDC_LANGUAGE_GROUP));
    m_combo = new QComboBox(group);
    m_combo->setObjectName(QString::number(IDC_LANGUAGE));
    for (int i = 0; i < kLanguageChoiceCount; ++i)
        m_combo->addItem(QString::fromStdU16String(LanguageChoiceText(i)));
    // A stored index outside the list leaves it without a selection.
    m_combo->setCurrentIndex(language >= 0 && language < kLanguageChoiceCount ? language : -1);
    connect(m_combo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            m_language = index;
    });
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_combo);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(Text(IDS_OK), QDialogButtonBox::AcceptRole);
    auto* cancel = buttons->addButton(Text(IDS_CANCEL), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("1"));
    cancel->setObjectName(QStringLiteral("2"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* all = new QHBoxLayout(this);
    all->addWidget(group, 1);
    all->addWidget(buttons);
    buttons->setOrientation(Qt::Vertical);

    // The window is as wide as its title needs (title bars often use a bold
    // face), with room for the title bar's icon and buttons.
    QFont titleFont = font();
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);
    const int buttonsRoom = 4 * style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    setMinimumWidth(qMax(sizeHint().width(), title.horizontalAdvance(windowTitle()) + buttonsRoom));
}

void CSettingDlg::accept()
{
    const std::u16string notice = ChooseLanguage(m_language);
    if (!notice.empty())
        ShowMessage(this, QString::fromStdU16String(notice), windowTitle(), QMessageBox::Information);
    QDialog::accept();
}

void RunSettingCommand(CArkletonDlg& dialog)
{
    CSettingDlg setting(TheLanguage().m_language, &dialog);
    RunDialog(setting);
}
