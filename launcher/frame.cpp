// The frame window: menu bar, MDI area, menu commands and the editor slots.
#include <string>

#include "launcher.h"

namespace orvello {

namespace {

LRESULT OnCreate(HWND frame) {
    launcher.frame = frame;
    launcher.menu = LoadMenuA(launcher.instance, kMenuName);
    SetMenu(frame, launcher.menu);
    launcher.keys = LoadAcceleratorsA(launcher.instance, kKeysName);

    // No Window menu: the MDI area keeps no window list in the menu bar. The default
    // frame handling fits the area to the client area.
    CLIENTCREATESTRUCT client{};
    client.hWindowMenu = nullptr;
    client.idFirstChild = kFirstChildId;
    launcher.mdi_area = CreateWindowExA(
        0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, frame,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMdiAreaId)), launcher.instance, &client);

    for (HWND& slot : launcher.editors) slot = nullptr;
    return 0;
}

// At most one editor per kind: a second choice brings the open one back.
void OpenEditor(int kind) {
    HWND& slot = launcher.editors[kind];
    if (slot) {
        ShowWindow(slot, SW_RESTORE);
        SendMessageA(launcher.mdi_area, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(slot), 0);
        return;
    }
    slot = CreateChild(kEditorClass, kKinds[kind]);
}

// The Edit menu acts on whichever editor or output window is active.
void ForwardToActiveChild(UINT message) {
    if (HWND active = ActiveChild()) SendMessageA(active, message, 0, 0);
}

// Ctrl+S and F5 press the button of the active child when it is an editor.
void PressInActiveEditor(int button_id) {
    const HWND active = ActiveChild();
    for (HWND editor : launcher.editors) {
        if (editor && editor == active) {
            HWND button = GetDlgItem(editor, button_id);
            SendMessageA(editor, WM_COMMAND, MAKEWPARAM(button_id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        }
    }
}

bool OnCommand(HWND frame, int command) {
    for (int kind = 0; kind < kKindCount; ++kind) {
        if (command == kKinds[kind].command) {
            OpenEditor(kind);
            return true;
        }
    }
    switch (command) {
    case IDM_EXIT: SendMessageA(frame, WM_CLOSE, 0, 0); return true;
    case IDM_COPY: ForwardToActiveChild(WM_COPY); return true;
    case IDM_CUT: ForwardToActiveChild(WM_CUT); return true;
    case IDM_PASTE: ForwardToActiveChild(WM_PASTE); return true;
    case IDM_SAVE: PressInActiveEditor(kSaveId); return true;
    case IDM_SAVE_RUN: PressInActiveEditor(kSaveRunId); return true;
    default: return false;
    }
}

// An editor that closes empties the slot holding it.
void OnCloseNotice(HWND editor) {
    for (HWND& slot : launcher.editors)
        if (slot == editor) slot = nullptr;
}

// Closing the frame closes every editor at once: asks first, once for all that hold
// unsaved changes, listed as they are stacked, the active one first. No is the default.
bool MayExit(HWND frame) {
    std::string files;
    int count = 0, last = 0;
    for (HWND child = GetWindow(launcher.mdi_area, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        for (int kind = 0; kind < kKindCount; ++kind) {
            if (launcher.editors[kind] != child || !EditorChanged(child)) continue;
            if (count++ > 0) files += ", ";
            last = static_cast<int>(files.size());
            files += kKinds[kind].input_file;
        }
    }
    if (count == 0) return true;
    if (count > 1) files.replace(last - 2, 2, " and ");
    char question[256];
    wsprintfA(question, kExitQuestion, files.c_str());
    return MessageBoxA(frame, question, kCloseCaption, MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

LRESULT OnDestroy() {
    // The child windows go with the frame; their editors ask no question.
    launcher.frame = nullptr;
    launcher.mdi_area = nullptr;
    launcher.menu = nullptr;
    for (HWND& slot : launcher.editors) slot = nullptr;
    PostQuitMessage(0);
    return 0;
}

}  // namespace

LRESULT CALLBACK FrameProc(HWND frame, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE: return OnCreate(frame);
    case WM_COMMAND:
        if (OnCommand(frame, LOWORD(wparam))) return 0;
        break;
    case WM_PARENTNOTIFY:
        if (LOWORD(wparam) == kCloseNoticeCode) {
            OnCloseNotice(reinterpret_cast<HWND>(lparam));
            return 0;
        }
        break;
    case WM_CLOSE:
        if (!MayExit(frame)) return 0;
        break;
    case WM_QUERYENDSESSION:
        // Windows shutting down or the user logging off would close the editors too:
        // the same question, and No asks Windows not to end the session.
        return MayExit(frame) ? TRUE : FALSE;
    case WM_DESTROY: return OnDestroy();
    }
    return DefFrameProcA(frame, launcher.mdi_area, message, wparam, lparam);
}

}  // namespace orvello
