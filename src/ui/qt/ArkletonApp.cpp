#include "ui/qt/ArkletonApp.h"

#include "storage/TinyImage.h"
#include "ui/qt/AppSettings.h"
#include "ui/qt/ArkletonDlg.h"
#include "ui/qt/Language.h"

bool CArkletonApp::InitInstance()
{
    {
        auto settings = OpenSettings();
        TheLanguage().m_language = ReadLanguageIndex(*settings);
    }
    ApplyLanguage(TheLanguage().m_language);
    TinyStartup();
    {
        CArkletonDlg dialog;
        dialog.exec();
    }
    TinyShutdown();
    return false;
}
