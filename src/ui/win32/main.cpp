// arkleton.exe: the desktop program for Windows.
#include "ui/win32/ArkletonDlg.h"
#include "ui/win32/RegistrySettings.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // The settings live under the program file's base name.
    CRegistrySettings settings(CRegistrySettings::ProgramName());
    return RunArkleton(settings);
}
