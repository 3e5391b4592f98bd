// A launcher started in the test process: frame, menu and MDI area, driven by sending
// the messages a user's actions would send.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "message_boxes.h"
#include "scratch_dir.h"

namespace launcher_test {

// Ends the test program when a test hangs (a box nobody answers, a run that never ends).
class Watchdog {
public:
    explicit Watchdog(DWORD seconds);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    static DWORD WINAPI Watch(void* self);
    HANDLE done_;
    HANDLE thread_;
    DWORD seconds_;
};

// Each test starts in a fresh scratch directory with boxes answered and a watchdog.
class ScratchTest : public testing::Test {
protected:
    Watchdog watchdog_{60};
    ScratchDir scratch_;
    MessageBoxes boxes_;
};

class LauncherTest : public ScratchTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A menu command chosen on the frame.
    void Choose(int command);
    // The kind's editor from the frame's slot (opening it first when asked to).
    HWND Editor(int kind) const;
    HWND OpenEditor(int kind);

    // conspawn.exe and, when given, a stand-in solver under the executable's name.
    void ProvideSolver(const char* standin, const char* executable = "zorvath.exe");

    std::vector<HWND> Children(const char* window_class) const;
    HWND Active() const;

    static HWND TextArea(HWND child);
    static std::string Text(HWND window);
    static std::string Title(HWND window);
    static bool Changed(HWND editor);
    static void Click(HWND editor, int button_id);
    static void Type(HWND editor, const std::string& keys);
    static void SelectAll(HWND editor);

    HWND frame_ = nullptr;
};

}  // namespace launcher_test
