// The launcher's fixed names: resource and control ids, window class names, the texts
// it shows and the styles of its controls. The resource script includes this header
// too, so the C++ part is hidden from the resource compiler.
#pragma once

// Program icon: one 32x32 image in 16 colours.
#define IDI_PROGRAM 102

// Menu "INITMENU2" (loaded as "InitMenu2"), the frame's whole menu bar. Copy has the
// lowest number although the Edit menu lists Cut first.
#define IDM_BRASKOT 40001
#define IDM_QUELLIN 40002
#define IDM_ZORVATH 40003
#define IDM_EXIT 40004
#define IDM_COPY 40008
#define IDM_CUT 40009
#define IDM_PASTE 40010
// Keyboard commands of the active editor: Ctrl+S saves, F5 saves and runs.
#define IDM_SAVE 40011
#define IDM_SAVE_RUN 40012

#define MENU_FILE "&File"
#define MENU_EDIT "&Edit"
#define MENU_BRASKOT "BRASKOT Parameters..."
#define MENU_QUELLIN "QUELLIN Parameters..."
#define MENU_ZORVATH "ZORVATH Parameters..."
#define MENU_EXIT "E&xit"
#define MENU_CUT "Cut"
#define MENU_COPY "Copy"
#define MENU_PASTE "Paste"

#ifndef RC_INVOKED

#include <windows.h>

namespace orvello {

// One solver kind: the tag is the title a child window of the kind is created with.
struct SolverKind {
    const char* tag;
    int command;
    const char* input_file;
    const char* output_file;
    const char* executable;
};

constexpr int kKindCount = 3;
constexpr int kKindTP = 2;
constexpr SolverKind kKinds[kKindCount] = {
    {"UV", IDM_BRASKOT, "input.uv", "output.uv", "braskot2.exe"},
    {"HP", IDM_QUELLIN, "input.hp", "output.hp", "quellin.exe"},
    {"TP", IDM_ZORVATH, "input.tp", "output.tp", "zorvath.exe"},
};

constexpr char kMenuName[] = "InitMenu2";
constexpr char kKeysName[] = "Keys";
constexpr char kFrameClass[] = "FrameClass";
constexpr char kOutputClass[] = "OutputChildClass";
constexpr char kEditorClass[] = "ChildClass";
constexpr char kFrameTitle[] = "Access to ZORVATH, QUELLIN and BRASKOT Software";

// The MDI area and the numbering of its children.
constexpr int kMdiAreaId = 1;
constexpr UINT kFirstChildId = 8000000;

// Controls of an editor; the output window's text area has the same id.
constexpr int kTextAreaId = 1;
constexpr int kSaveId = 2;
constexpr int kSaveRunId = 3;
constexpr int kFillerId = 4;

constexpr DWORD kTextAreaStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_BORDER |
                                 WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                 ES_AUTOHSCROLL;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | BS_PUSHBUTTON;
constexpr DWORD kFillerStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | SS_LEFT;

constexpr char kSaveText[] = "Save";
constexpr char kSaveRunText[] = "Save && Run";  // && shows a single &
// The button widths are measured on these texts, five blanks either side.
constexpr char kSaveMeasure[] = "     Save     ";
constexpr char kSaveRunMeasure[] = "     Save & Run     ";
constexpr char kButtonFace[] = "MS Shell Dlg";
constexpr int kButtonPoints = 8;

// The close notice an editor sends to the frame: WM_PARENTNOTIFY with this wParam.
constexpr WORD kCloseNoticeCode = WM_DESTROY;
constexpr WORD kCloseNoticeHigh = 2;

constexpr char kErrorCaption[] = "Error!";
constexpr char kOpenError[] = "Error while attempting to open file %s";
constexpr char kReadError[] = "Error while attempting to read file %s";
constexpr char kWriteError[] = "Error while attempting to write file %s";
constexpr char kMemoryError[] = "Not enough memory for file %s";
constexpr char kExecError[] = "Could not execute file %s";
constexpr char kAbnormalEnd[] = "%s ended abnormally (exit code 0x%08lX)";
constexpr char kNoReport[] = "%s did not write the report %s";
constexpr char kSuccessText[] = "The run was successful.";
constexpr char kSuccessCaption[] = "Success!";
constexpr char kCloseQuestion[] = "Your changes have not been saved. Exit anyway?";
constexpr char kCloseCaption[] = "Are you sure?";
// Asked by the frame, once for every editor with unsaved changes; %s lists their files.
constexpr char kExitQuestion[] = "Your changes to %s have not been saved. Exit anyway?";

// The outside program that runs a solver in a hidden console; the solver's executable
// name follows on its command line.
constexpr char kSpawner[] = "conspawn.exe";
// At most this many bytes of a failed run's error stream are shown.
constexpr DWORD kErrorTextMax = 256;

}  // namespace orvello

#endif  // RC_INVOKED
