#include "launcher_fixture.h"

#include <cstdio>

#include "launcher.h"

namespace launcher_test {

Watchdog::Watchdog(DWORD seconds)
    : done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), seconds_(seconds) {
    thread_ = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
}

Watchdog::~Watchdog() {
    SetEvent(done_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(done_);
}

DWORD WINAPI Watchdog::Watch(void* self) {
    auto* dog = static_cast<Watchdog*>(self);
    if (WaitForSingleObject(dog->done_, dog->seconds_ * 1000) == WAIT_TIMEOUT) {
        std::fprintf(stderr, "test still running after %lu s: ended by the watchdog\n",
                     static_cast<unsigned long>(dog->seconds_));
        std::fflush(stderr);
        ExitProcess(3);
    }
    return 0;
}

void LauncherTest::SetUp() {
    orvello::RegisterClasses(GetModuleHandleA(nullptr));
    frame_ = orvello::CreateFrame(SW_SHOWNORMAL);
    ASSERT_TRUE(frame_);
}

void LauncherTest::TearDown() {
    if (IsWindow(frame_)) DestroyWindow(frame_);
    // The frame's end posts the quit message; it must not end a later test's boxes.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_EQ(boxes_.pending(), 0u) << "answers queued for boxes that never came";
}

void LauncherTest::Choose(int command) { SendMessageA(frame_, WM_COMMAND, command, 0); }

HWND LauncherTest::Editor(int kind) const { return orvello::launcher.editors[kind]; }

HWND LauncherTest::OpenEditor(int kind) {
    Choose(orvello::kKinds[kind].command);
    return Editor(kind);
}

void LauncherTest::ProvideSolver(const char* standin, const char* executable) {
    scratch_.CopyProgram("conspawn.exe", "conspawn.exe");
    if (standin) scratch_.CopyProgram(standin, executable);
}

std::vector<HWND> LauncherTest::Children(const char* window_class) const {
    std::vector<HWND> found;
    HWND area = orvello::launcher.mdi_area;
    for (HWND child = GetWindow(area, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[64] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (std::string(cls) == window_class) found.push_back(child);
    }
    return found;
}

HWND LauncherTest::Active() const {
    return reinterpret_cast<HWND>(
        SendMessageA(orvello::launcher.mdi_area, WM_MDIGETACTIVE, 0, 0));
}

HWND LauncherTest::TextArea(HWND child) { return GetDlgItem(child, orvello::kTextAreaId); }

std::string LauncherTest::Text(HWND window) {
    std::string text(GetWindowTextLengthA(window) + 1, '\0');
    text.resize(GetWindowTextA(window, text.data(), static_cast<int>(text.size())));
    return text;
}

std::string LauncherTest::Title(HWND window) { return Text(window); }

bool LauncherTest::Changed(HWND editor) { return GetWindowLongA(editor, 0) == 1; }

void LauncherTest::Click(HWND editor, int button_id) {
    SendMessageA(GetDlgItem(editor, button_id), BM_CLICK, 0, 0);
}

void LauncherTest::Type(HWND editor, const std::string& keys) {
    for (char key : keys) SendMessageA(TextArea(editor), WM_CHAR, static_cast<BYTE>(key), 1);
}

void LauncherTest::SelectAll(HWND editor) { SendMessageA(TextArea(editor), EM_SETSEL, 0, -1); }

}  // namespace launcher_test
