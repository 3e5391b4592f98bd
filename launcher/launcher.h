// The launcher-wide state and the pieces of the launcher that call each other.
#pragma once

#include <windows.h>

#include "resource.h"

namespace orvello {

// One per process, owned by the frame's thread.
struct Launcher {
    HINSTANCE instance = nullptr;
    HWND frame = nullptr;
    HWND mdi_area = nullptr;
    HMENU menu = nullptr;
    HACCEL keys = nullptr;          // Ctrl+S and F5 for the active editor
    HWND editors[kKindCount] = {};  // the open editor of each kind, or none
};
extern Launcher launcher;

// Start-up: keeps the instance and registers the three window classes.
void RegisterClasses(HINSTANCE instance);
// Creates the frame (which attaches its menu and MDI area) and shows it.
HWND CreateFrame(int show);
// Runs until the quit message; answers its code.
int MessageLoop();
// The launcher's keys: the MDI keys (Ctrl+F4, Ctrl+F6) and Ctrl+S, F5. Answers true when
// the message was such a key and has been handled.
bool TranslateKeys(MSG& msg);
// The whole program: start-up, frame, message loop.
int RunLauncher(HINSTANCE instance, int show);

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK EditorProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK OutputProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Creates an MDI child of the class, titled with the kind's tag, through the MDI area.
// Answers the new window, or none when creation failed or the window closed itself
// while being created.
HWND CreateChild(const char* window_class, const SolverKind& kind);

// The active editor or output window, or none.
HWND ActiveChild();

// The kind a child was created as: its title (at most 9 characters) compared exactly
// with the tags in table order; 0 when none matches.
int KindFromTitle(HWND child);

// The text area of an editor or output window, sized to its place in the client area.
// It takes texts of any length.
HWND CreateTextArea(HWND parent, int x, int y, int width, int height);

// WM_SETFOCUS of an editor or output window: the keys go to its text area.
LRESULT FocusText(HWND child, WPARAM wparam, LPARAM lparam);

// Whether the editor holds changes that are not saved.
bool EditorChanged(HWND editor);

}  // namespace orvello
