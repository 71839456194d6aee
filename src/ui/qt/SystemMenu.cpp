#include "ui/qt/SystemMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>

#include "app/DialogChoices.h"
#include "ui/qt/AboutDlg.h"
#include "ui/qt/ArkletonDlg.h"
#include "ui/qt/SettingDlg.h"

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
    const std::vector<SystemMenuItem> items = SystemMenuItems();
    if (items.empty())
        return;
    if (!menu.isEmpty())
        menu.addSeparator();
    for (const SystemMenuItem& item : items) {
        QAction* action = menu.addAction(QString::fromStdU16String(item.text));
        action->setData(item.command);
        QObject::connect(action, &QAction::triggered, &dialog,
                         [&dialog, id = item.command] { OnSystemCommand(dialog, id); });
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
