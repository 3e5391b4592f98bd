// Start-up of the launcher: window classes, the frame, the message loop.
#include "launcher.h"

namespace orvello {

Launcher launcher;

namespace {

void Register(const char* name, WNDPROC proc, int extra_bytes, HICON icon, int brush) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = extra_bytes;
    wc.hInstance = launcher.instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(brush));
    wc.lpszClassName = name;
    RegisterClassA(&wc);  // start-up makes no checks: a failure shows as a missing window
}

}  // namespace

// The editor keeps its six 32-bit EditorState values in its window.
constexpr int kEditorExtraBytes = 24;

void RegisterClasses(HINSTANCE instance) {
    launcher.instance = instance;
    Register(kFrameClass, FrameProc, 0, LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM)),
             LTGRAY_BRUSH);
    Register(kOutputClass, OutputProc, 0, nullptr, WHITE_BRUSH);
    Register(kEditorClass, EditorProc, kEditorExtraBytes, nullptr, WHITE_BRUSH);
}

HWND CreateFrame(int show) {
    // The menu bar and the MDI area are attached while the frame is created.
    HWND frame = CreateWindowExA(0, kFrameClass, kFrameTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                 launcher.instance, nullptr);
    if (frame) {
        ShowWindow(frame, show);
        UpdateWindow(frame);
    }
    return frame;
}

int MessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (TranslateKeys(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

bool TranslateKeys(MSG& msg) {
    if (!launcher.frame) return false;
    return TranslateMDISysAccel(launcher.mdi_area, &msg) ||
           TranslateAcceleratorA(launcher.frame, launcher.keys, &msg);
}

int RunLauncher(HINSTANCE instance, int show) {
    RegisterClasses(instance);
    CreateFrame(show);
    return MessageLoop();
}

}  // namespace orvello
