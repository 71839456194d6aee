// arkleton.exe: the desktop program for Windows.
#include "ui/win32/ArkletonDlg.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return RunArkleton();
}
