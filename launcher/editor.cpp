// The parameter editor: a button bar over a text area holding one solver's input file.
#include "handle.h"
#include "launcher.h"
#include "run_solver.h"
#include "textfile.h"

namespace orvello {

namespace {

// The six 32-bit values kept in each editor window, in this order. Window handles fit
// in 32 bits, also in 64-bit processes.
struct EditorState {
    LONG changed = 0;  // 1 when the text differs from what was loaded or last saved
    LONG kind = 0;     // index into kKinds
    HWND save = nullptr;
    HWND save_run = nullptr;
    HWND text = nullptr;
    HWND filler = nullptr;

    enum Offset { kChanged = 0, kKind = 4, kSave = 8, kSaveRun = 12, kText = 16, kFiller = 20 };

    static EditorState Read(HWND editor) {
        auto window = [editor](int offset) {
            return static_cast<HWND>(LongToHandle(GetWindowLongA(editor, offset)));
        };
        EditorState s;
        s.changed = GetWindowLongA(editor, kChanged);
        s.kind = GetWindowLongA(editor, kKind);
        if (s.kind < 0 || s.kind >= kKindCount) s.kind = 0;
        s.save = window(kSave);
        s.save_run = window(kSaveRun);
        s.text = window(kText);
        s.filler = window(kFiller);
        return s;
    }
    void Store(HWND editor) const {
        SetWindowLongA(editor, kChanged, changed);
        SetWindowLongA(editor, kKind, kind);
        SetWindowLongA(editor, kSave, HandleToLong(save));
        SetWindowLongA(editor, kSaveRun, HandleToLong(save_run));
        SetWindowLongA(editor, kText, HandleToLong(text));
        SetWindowLongA(editor, kFiller, HandleToLong(filler));
    }
    void StoreChanged(HWND editor, LONG value) {
        changed = value;
        SetWindowLongA(editor, kChanged, changed);
    }
};

// The button bar, the same for every editor: one font, so one set of sizes.
struct ButtonBar {
    Font font;
    int height = 0;      // H
    int save_width = 0;  // Ws
    int run_width = 0;   // Wr
} bar;

// A point size as a character height in logical units of the screen (negative).
int PointSizeToHeight(int points) {
    WindowDC screen(nullptr);
    return MulDiv(-points, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
}

void MeasureButtonBar(HWND editor) {
    if (!bar.font) {
        bar.font.reset(CreateFontA(PointSizeToHeight(kButtonPoints), 0, 0, 0, FW_NORMAL, FALSE,
                                   FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH,
                                   kButtonFace));
    }
    WindowDC dc(editor);
    dc.Select(bar.font.get());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    SIZE save{}, run{};
    GetTextExtentPoint32A(dc.get(), kSaveMeasure, sizeof kSaveMeasure - 1, &save);
    GetTextExtentPoint32A(dc.get(), kSaveRunMeasure, sizeof kSaveRunMeasure - 1, &run);
    bar.height = metrics.tmHeight + 2 * metrics.tmInternalLeading + 2 * metrics.tmExternalLeading;
    bar.save_width = save.cx;
    bar.run_width = run.cx;
}

HWND CreateControl(HWND editor, const char* window_class, const char* text, DWORD style,
                   int x, int width, int id) {
    return CreateWindowExA(0, window_class, text, style, x, 0, width, bar.height, editor,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), launcher.instance,
                           nullptr);
}

LRESULT OnCreate(HWND editor) {
    EditorState s;
    MeasureButtonBar(editor);
    RECT client{};
    GetClientRect(editor, &client);
    s.text = CreateTextArea(editor, 0, bar.height, client.right, client.bottom - bar.height);

    s.kind = KindFromTitle(editor);
    const SolverKind& kind = kKinds[s.kind];
    SetWindowTextA(editor, kind.input_file);
    if (!LoadFile(kind.input_file, s.text, s.text)) {
        // Nothing is stored yet, so the close asks no question; the slot stays empty.
        SendMessageA(editor, WM_CLOSE, 0, 0);
        return 0;
    }

    const int bar_width = bar.save_width + bar.run_width;
    s.save = CreateControl(editor, "BUTTON", kSaveText, kButtonStyle, 0, bar.save_width, kSaveId);
    s.save_run = CreateControl(editor, "BUTTON", kSaveRunText, kButtonStyle, bar.save_width,
                               bar.run_width, kSaveRunId);
    s.filler = CreateControl(editor, "STATIC", "", kFillerStyle, bar_width,
                             client.right - bar_width, kFillerId);
    SendMessageA(s.save, WM_SETFONT, reinterpret_cast<WPARAM>(bar.font.get()), FALSE);
    SendMessageA(s.save_run, WM_SETFONT, reinterpret_cast<WPARAM>(bar.font.get()), FALSE);
    s.Store(editor);

    SetWindowLongA(editor, GWL_STYLE, GetWindowLongA(editor, GWL_STYLE) & ~WS_MAXIMIZEBOX);
    ShowWindow(editor, SW_SHOW);
    return 0;
}

void OnSize(HWND editor, const EditorState& s) {
    if (!s.text) return;  // still being created
    RECT client{};
    GetClientRect(editor, &client);
    const int bar_width = bar.save_width + bar.run_width;
    MoveWindow(s.text, client.left, client.top + bar.height, client.right,
               client.bottom - bar.height, TRUE);
    MoveWindow(s.filler, bar_width, 0, client.right - bar_width, bar.height, TRUE);
}

// One attempt at writing the whole text: whether it was written, and whether the open
// cut the file (after which the text is kept nowhere but in the editor).
struct WriteAttempt {
    bool written = false;
    bool cut = false;
};

WriteAttempt WriteWhole(const char* name, const char* bytes, DWORD count) {
    WriteAttempt attempt;
    File file = OpenByName(name, true);
    if (!file) return attempt;
    attempt.cut = true;
    DWORD written = 0;
    attempt.written = WriteFile(file.get(), bytes, count, &written, nullptr) && written == count &&
                      CloseHandle(file.release());
    return attempt;
}

// Writes the text followed by one zero byte. Only a complete write makes the editor
// clean; a save that fails, whatever the user answers, keeps the editor and its text.
bool Save(HWND editor, EditorState& s) {
    const char* name = kKinds[s.kind].input_file;

    // The text is taken before the file is opened for writing: the open cuts the file,
    // and a text that could not be taken afterwards would leave it empty.
    const int length = GetWindowTextLengthA(s.text);
    LocalMemory buffer(LocalAlloc(LMEM_FIXED, length + 10));
    if (!buffer) {
        ShowFileError(s.text, kMemoryError, name);
        return false;
    }
    char* text = static_cast<char*>(buffer.get());
    const DWORD wanted = static_cast<DWORD>(GetWindowTextA(s.text, text, length + 10)) + 1;

    bool cut = false;
    const bool saved = WithRetry(s.text, kWriteError, name, [&] {
        const WriteAttempt attempt = WriteWhole(name, text, wanted);
        cut = cut || attempt.cut;
        return attempt.written;
    });
    if (saved) s.StoreChanged(editor, 0);
    else if (cut) s.StoreChanged(editor, 1);  // even if it was clean: closing it will ask
    return saved;
}

void SaveAndRun(HWND editor, EditorState& s) {
    if (!Save(editor, s)) return;
    const SolverKind& kind = kKinds[s.kind];
    // The run's messages are owned by the frame: while one is up, no second run can start.
    if (RunSolver(kind, launcher.frame) != RunSuccess) return;  // it has said why
    // The output window loads the report (with any Retry/Cancel about it) before the
    // success message is shown; a report that could not be opened is no success.
    if (!CreateChild(kOutputClass, kind)) return;
    MessageBoxA(editor, kSuccessText, kSuccessCaption, MB_OK);
}

LRESULT OnCommand(HWND editor, EditorState& s, HWND control, WORD code) {
    if (!control) return 0;  // only the editor's own controls command it
    if (control == s.text && code == EN_CHANGE) s.StoreChanged(editor, 1);
    else if (control == s.save && code == BN_CLICKED) Save(editor, s);
    else if (control == s.save_run && code == BN_CLICKED) SaveAndRun(editor, s);
    else return 0;
    // The keys go back to the text of the active child (a new report's, after a run),
    // not to the button just pressed.
    if (HWND active = ActiveChild()) SetFocus(active);
    return 0;
}

LRESULT OnClose(HWND editor, const EditorState& s) {
    // No is the default: Enter keeps the edits.
    if (s.changed == 1 &&
        MessageBoxA(editor, kCloseQuestion, kCloseCaption, MB_YESNO | MB_DEFBUTTON2) == IDNO)
        return 0;
    SendMessageA(launcher.frame, WM_PARENTNOTIFY, MAKEWPARAM(kCloseNoticeCode, kCloseNoticeHigh),
                 reinterpret_cast<LPARAM>(editor));
    return DefMDIChildProcA(editor, WM_CLOSE, 0, 0);
}

// The filler strip paints light grey.
LRESULT OnCtlColorStatic(HDC dc) {
    HGDIOBJ brush = GetStockObject(LTGRAY_BRUSH);
    SelectObject(dc, brush);
    return reinterpret_cast<LRESULT>(brush);
}

}  // namespace

bool EditorChanged(HWND editor) { return EditorState::Read(editor).changed == 1; }

LRESULT CALLBACK EditorProc(HWND editor, UINT message, WPARAM wparam, LPARAM lparam) {
    EditorState s = EditorState::Read(editor);
    switch (message) {
    case WM_CREATE: return OnCreate(editor);
    case WM_SIZE:
        OnSize(editor, s);
        break;  // the MDI child handling needs the size too
    case WM_COMMAND:
        return OnCommand(editor, s, reinterpret_cast<HWND>(lparam), HIWORD(wparam));
    case WM_CLOSE: return OnClose(editor, s);
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(reinterpret_cast<HDC>(wparam));
    case WM_SETFOCUS: return FocusText(editor, wparam, lparam);
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE: SendMessageA(s.text, message, wparam, lparam); return 0;
    }
    return DefMDIChildProcA(editor, message, wparam, lparam);
}

}  // namespace orvello
