// orvello: the launcher of the combustion programs. The command line is not used.
#include <windows.h>

#include "launcher.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    return orvello::RunLauncher(instance, show);
}
