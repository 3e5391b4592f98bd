#include "message_boxes.h"

#include <algorithm>

namespace launcher_test {

namespace {

thread_local MessageBoxes* current = nullptr;
constexpr char kAnsweredMark[] = "launcher_test.answered";
constexpr char kFocusedMark[] = "launcher_test.focused";
constexpr int kBoxTextId = 0xFFFF;

std::string WindowText(HWND window) {
    char buffer[2048] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

bool HasButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    // The box is not shown yet when it is activated; the style says what it will show.
    return button && (GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE);
}

}  // namespace

MessageBoxes::MessageBoxes() {
    current = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

MessageBoxes::~MessageBoxes() {
    if (hook_) UnhookWindowsHookEx(hook_);
    current = nullptr;
}

void MessageBoxes::Answer(int button, std::function<void()> before) {
    answers_.push_back({button, std::move(before)});
}

std::vector<std::string> MessageBoxes::Captions() const {
    std::vector<std::string> captions;
    for (const SeenBox& box : seen_) captions.push_back(box.caption);
    return captions;
}

LRESULT CALLBACK MessageBoxes::Hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE && current) {
        HWND window = reinterpret_cast<HWND>(wparam);
        char cls[16] = {};
        GetClassNameA(window, cls, sizeof cls);
        // Activation can repeat; each box is answered once.
        if (std::string(cls) == "#32770" && !GetPropA(window, kAnsweredMark)) {
            SetPropA(window, kAnsweredMark, reinterpret_cast<HANDLE>(1));
            current->OnBox(window);
        }
    }
    // The box gives the focus to its default button first, around its activation.
    if (code == HCBT_SETFOCUS && current) {
        HWND box = GetParent(reinterpret_cast<HWND>(wparam));
        char cls[16] = {};
        if (box) GetClassNameA(box, cls, sizeof cls);
        if (std::string(cls) == "#32770" && !GetPropA(box, kFocusedMark)) {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(wparam));
            SetPropA(box, kFocusedMark, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(id)));
            if (GetPropA(box, kAnsweredMark) && !current->seen_.empty())
                current->seen_.back().default_button = id;
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

void MessageBoxes::OnBox(HWND box) {
    SeenBox seen;
    seen.caption = WindowText(box);
    char text[2048] = {};
    GetDlgItemTextA(box, kBoxTextId, text, sizeof text);
    seen.text = text;
    seen.owner = GetWindow(box, GW_OWNER);
    seen.default_button = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(box, kFocusedMark)));
    for (int id : {IDOK, IDCANCEL, IDRETRY, IDYES, IDNO})
        if (HasButton(box, id)) seen.buttons.push_back(id);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            SendMessageA(child, STM_GETICON, 0, 0))
            seen.icon = true;

    int button = 0;
    if (!answers_.empty()) {
        Queued next = std::move(answers_.front());
        answers_.pop_front();
        if (next.before) next.before();
        button = next.button;
    } else {
        seen.expected = false;
    }
    auto present = [&](int id) {
        return std::find(seen.buttons.begin(), seen.buttons.end(), id) != seen.buttons.end();
    };
    if (!present(button)) {
        // Never press a button that is not there: the safest one present ends the box.
        if (button != 0) seen.expected = false;
        for (int id : {IDCANCEL, IDNO, IDOK})
            if (present(id)) {
                button = id;
                break;
            }
    }
    seen.pressed = button;
    seen_.push_back(seen);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

}  // namespace launcher_test
