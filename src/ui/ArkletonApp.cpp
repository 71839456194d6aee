#include "ui/ArkletonApp.h"

#include "storage/TinyImage.h"
#include "ui/AppSettings.h"
#include "ui/ArkletonDlg.h"
#include "ui/Language.h"

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
