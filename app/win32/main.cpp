// Tarnel on Windows.
#include <windows.h>

#include "BatchApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CBatchApp app;
    app.InitInstance();
    return 0;
}
