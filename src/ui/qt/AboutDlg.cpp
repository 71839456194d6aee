#include "ui/qt/AboutDlg.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStringList>

#include "app/Strings.h"
#include "ui/qt/ArkletonDlg.h"
#include "ui/qt/Prompts.h"

namespace {

enum : unsigned {
    IDS_VERSION = 109,
    IDS_ABOUT_CAPTION = 2200,
    IDS_ABOUT_NAME = 2201,
    IDS_ABOUT_NOTICE = 2202,
    IDS_OK = 2203,
};
constexpr int kIconSize = 32;
// The rectangle the version is drawn into, at the least.
constexpr int kVersionWidth = 200;
constexpr int kVersionHeight = 15;
constexpr int kVersionFontPixels = 14;

QString Text(unsigned id)
{
    return QString::fromStdU16String(LoadString(id));
}

// Number i of a dotted version text; 0 when missing or not a number in 0..65535.
uint16_t VersionPart(const QStringList& parts, int i)
{
    if (i >= parts.size())
        return 0;
    bool ok = false;
    const uint value = parts[i].trimmed().toUInt(&ok);
    return ok && value <= 0xFFFF ? static_cast<uint16_t>(value) : 0;
}

}  // namespace

CStaticVersion::CStaticVersion(const char* version, QWidget* parent) : QWidget(parent)
{
    setObjectName(QString::number(IDC_VERSION));
    m_font = font();
    m_font.setPixelSize(kVersionFontPixels);
    m_font.setBold(true);
    m_font.setItalic(false);
    m_font.setUnderline(false);
    m_font.setStrikeOut(false);
    const QStringList parts = QString::fromLatin1(version ? version : "").split(QLatin1Char('.'));
    m_major = VersionPart(parts, 0);
    m_minor = VersionPart(parts, 1);
    m_build = VersionPart(parts, 2);
    m_text = QString::fromStdU16String(FormatString(IDS_VERSION, {m_major, m_minor, m_build}));
}

QSize CStaticVersion::sizeHint() const
{
    const QFontMetrics metrics(m_font);
    return {qMax(kVersionWidth, metrics.horizontalAdvance(m_text) + 2), qMax(kVersionHeight, metrics.height())};
}

void CStaticVersion::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(m_font);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, m_text);
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Text(IDS_ABOUT_CAPTION));
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("128"));
    QIcon programIcon = parent ? parent->windowIcon() : QIcon();
    if (programIcon.isNull())
        programIcon = QIcon(QStringLiteral(":/icons/arkleton-32.png"));
    icon->setPixmap(programIcon.pixmap(kIconSize, kIconSize));
    icon->setFixedSize(kIconSize, kIconSize);
    auto* name = new QLabel(Text(IDS_ABOUT_NAME), this);
    name->setObjectName(QStringLiteral("aboutName"));
    auto* version = new CStaticVersion(ARK_VERSION, this);
    auto* notice = new QLabel(Text(IDS_ABOUT_NOTICE), this);
    notice->setObjectName(QStringLiteral("aboutNotice"));
    auto* ok = new QPushButton(Text(IDS_OK), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(12);
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(name, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(notice, 2, 1);
    grid->addWidget(ok, 0, 2, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void RunAboutCommand(CArkletonDlg& dialog)
{
    CAboutDlg about(&dialog);
    RunDialog(about);
}
