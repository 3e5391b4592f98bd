// The output window: a solver's report in a text area that fills the window.
#include "launcher.h"
#include "textfile.h"

namespace orvello {

namespace {

// The window keeps nothing of its own: its text area is found by its id.
HWND TextArea(HWND window) { return GetDlgItem(window, kTextAreaId); }

LRESULT OnCreate(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    HWND text = CreateTextArea(window, 0, 0, client.right, client.bottom);

    const SolverKind& kind = kKinds[KindFromTitle(window)];
    SetWindowTextA(window, kind.output_file);
    if (!LoadFile(kind.output_file, text, text)) SendMessageA(window, WM_CLOSE, 0, 0);
    return 0;
}

void OnSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    MoveWindow(TextArea(window), client.left, client.top, client.right, client.bottom, TRUE);
}

}  // namespace

LRESULT CALLBACK OutputProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_SIZE:
        OnSize(window);
        break;  // the MDI child handling needs the size too
    case WM_SETFOCUS: return FocusText(window, wparam, lparam);
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE: SendMessageA(TextArea(window), message, wparam, lparam); return 0;
    }
    return DefMDIChildProcA(window, message, wparam, lparam);
}

}  // namespace orvello
