// What the editor and the output window share as MDI children of the frame.
#include <cstring>

#include "launcher.h"

namespace orvello {

HWND CreateChild(const char* window_class, const SolverKind& kind) {
    MDICREATESTRUCTA create{};
    create.szClass = window_class;
    create.szTitle = kind.tag;
    create.hOwner = launcher.instance;
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.style = 0;
    create.lParam = 0;
    HWND child = reinterpret_cast<HWND>(
        SendMessageA(launcher.mdi_area, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    // A child that closed itself while being created is gone: its handle is not kept.
    return child && IsWindow(child) ? child : nullptr;
}

HWND ActiveChild() {
    return reinterpret_cast<HWND>(SendMessageA(launcher.mdi_area, WM_MDIGETACTIVE, 0, 0));
}

int KindFromTitle(HWND child) {
    char title[10] = {};
    GetWindowTextA(child, title, sizeof title);
    for (int kind = 0; kind < kKindCount; ++kind)
        if (std::strcmp(title, kKinds[kind].tag) == 0) return kind;
    return 0;
}

HWND CreateTextArea(HWND parent, int x, int y, int width, int height) {
    HWND text = CreateWindowExA(0, "EDIT", "", kTextAreaStyle, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextAreaId)),
                                launcher.instance, nullptr);
    // The fixed-pitch font keeps the columns of the solvers' files lined up.
    SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FIXED_FONT)),
                 TRUE);
    // Without this, typing stops silently at 30000 characters.
    SendMessageA(text, EM_SETLIMITTEXT, 0, 0);
    return text;
}

LRESULT FocusText(HWND child, WPARAM wparam, LPARAM lparam) {
    DefMDIChildProcA(child, WM_SETFOCUS, wparam, lparam);
    if (HWND text = GetDlgItem(child, kTextAreaId)) SetFocus(text);
    return 0;
}

}  // namespace orvello
