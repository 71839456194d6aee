#include "ui/qt/SystemMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>

#include "app/Strings.h"
#include "ui/qt/AboutDlg.h"
#include "ui/qt/ArkletonDlg.h"
#include "ui/qt/SettingDlg.h"

namespace {

enum : unsigned {
    IDS_ABOUT_MENU = 101,
    IDS_SETTING_MENU = 1200,
};

}  // namespace

bool OnSystemCommand(CArkletonDlg& dialog, unsigned id)
{
    switch (id) {
    case IDM_ABOUTBOX:
        RunAboutCommand(dialog);
        return true;
    case IDM_SETTING:
        RunSettingCommand(dialog);
        return true;
    default:
        return false;
    }
}

void AddSystemMenuItems(QMenu& menu, CArkletonDlg& dialog)
{
    const std::u16string about = LoadString(IDS_ABOUT_MENU);
    const std::u16string setting = LoadString(IDS_SETTING_MENU);
    if (about.empty() || setting.empty())
        return;
    if (!menu.isEmpty())
        menu.addSeparator();
    for (const auto& [text, id] : {std::pair{&about, IDM_ABOUTBOX}, std::pair{&setting, IDM_SETTING}}) {
        QAction* action = menu.addAction(QString::fromStdU16String(*text));
        action->setData(id);
        QObject::connect(action, &QAction::triggered, &dialog, [&dialog, id = id] { OnSystemCommand(dialog, id); });
    }
}

void InstallSystemShortcuts(CArkletonDlg& dialog)
{
    const struct {
        QKeySequence keys;
        unsigned id;
    } shortcuts[] = {{QKeySequence(Qt::Key_F1), IDM_ABOUTBOX}, {QKeySequence(QKeySequence::Preferences), IDM_SETTING}};
    for (const auto& s : shortcuts) {
        if (s.keys.isEmpty())
            continue;  // a platform without a Preferences key
        auto* shortcut = new QShortcut(s.keys, &dialog);
        shortcut->setObjectName(QStringLiteral("shortcut%1").arg(s.id));
        QObject::connect(shortcut, &QShortcut::activated, &dialog, [&dialog, id = s.id] { OnSystemCommand(dialog, id); });
    }
}
