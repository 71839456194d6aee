#include "ui/qt/AppSettings.h"

#include <QCoreApplication>

#include "app/Settings.h"

namespace {

QString Key(const std::string& section, const std::string& name)
{
    return QString::fromStdString(section) + u'/' + QString::fromStdString(name);
}

}  // namespace

CQtSettings::CQtSettings()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(SettingsName::kCompany),
                 QCoreApplication::applicationName())
{
}

std::optional<int> CQtSettings::ReadInt(const std::string& section, const std::string& name)
{
    bool ok = false;
    const int value = m_settings.value(Key(section, name)).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<std::u16string> CQtSettings::ReadText(const std::string& section, const std::string& name)
{
    const QVariant value = m_settings.value(Key(section, name));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdU16String();
}

void CQtSettings::WriteInt(const std::string& section, const std::string& name, int value)
{
    m_settings.setValue(Key(section, name), value);
}

void CQtSettings::WriteText(const std::string& section, const std::string& name, const std::u16string& value)
{
    m_settings.setValue(Key(section, name), QString::fromStdU16String(value));
}

std::unique_ptr<CQtSettings> OpenSettings()
{
    return std::make_unique<CQtSettings>();
}
