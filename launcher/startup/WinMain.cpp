#include <windows.h>

#include "Initialization.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return vantorel::runLauncher();
}
