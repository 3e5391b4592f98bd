// Save & Run from an editor: the run, the output window and the order of what is shown.
#include <algorithm>
#include <string>

#include "import_patch.h"
#include "launcher.h"
#include "launcher_fixture.h"
#include "standin_pattern.h"

namespace launcher_test {
namespace {

using orvello::kKindTP;

const std::string kZero(1, '\0');
constexpr int kHP = 1;

class SaveAndRunTest : public LauncherTest {
protected:
    // The TP editor on an input, with the spawner and a stand-in as the TP solver.
    HWND TpEditor(const char* standin, const std::string& input = "run one\r\n") {
        ProvideSolver(standin);
        scratch_.Write("input.tp", input);
        return OpenEditor(kKindTP);
    }
    // The success message, answered after noting how many output windows stood then.
    void ExpectSuccess(size_t* output_windows_then) {
        boxes_.Answer(IDOK, [this, output_windows_then] {
            *output_windows_then = Children("OutputChildClass").size();
        });
    }
};

TEST_F(SaveAndRunTest, SuccessfulRunShowsTheReportBeforeTheSuccessMessage) {
    HWND editor = TpEditor("standin_quiet.exe");
    Type(editor, "X");
    size_t windows_then = 0;
    ExpectSuccess(&windows_then);
    Click(editor, 3);

    // Saved first, then run: the stand-in's report holds the saved input.
    EXPECT_EQ(scratch_.Read("input.tp"), "Xrun one\r\n" + kZero);
    EXPECT_FALSE(Changed(editor));
    ASSERT_EQ(boxes_.seen().size(), 1u);
    const SeenBox& success = boxes_.seen()[0];
    EXPECT_EQ(success.caption, "Success!");
    EXPECT_EQ(success.text, "The run was successful.");
    EXPECT_EQ(success.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(success.owner, frame_);  // owned by the editor, whose top level is the frame
    EXPECT_EQ(windows_then, 1u);

    std::vector<HWND> outputs = Children("OutputChildClass");
    ASSERT_EQ(outputs.size(), 1u);
    HWND output = outputs[0];
    EXPECT_EQ(Title(output), "output.tp");
    // The report as stored, up to its first zero byte.
    EXPECT_EQ(Text(TextArea(output)), "REPORT\r\nXrun one\r\n");
    EXPECT_TRUE(GetWindowLongA(output, GWL_STYLE) & WS_MAXIMIZEBOX);
    EXPECT_EQ(SendMessageA(TextArea(output), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(GetStockObject(SYSTEM_FIXED_FONT)));
    EXPECT_EQ(Editor(kKindTP), editor);  // output windows take no editor slot
}

TEST_F(SaveAndRunTest, TwoRunsOpenTwoWindowsEachWithItsReport) {
    HWND editor = TpEditor("standin_quiet.exe", "first\r\n");
    size_t windows_then = 0;
    ExpectSuccess(&windows_then);
    Click(editor, 3);
    SetWindowTextA(TextArea(editor), "second\r\n");
    ExpectSuccess(&windows_then);
    Click(editor, 3);
    EXPECT_EQ(windows_then, 2u);

    std::vector<HWND> outputs = Children("OutputChildClass");
    ASSERT_EQ(outputs.size(), 2u);
    std::vector<std::string> texts;
    for (HWND output : outputs) {
        EXPECT_EQ(Title(output), "output.tp");
        texts.push_back(Text(TextArea(output)));
    }
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"REPORT\r\nfirst\r\n", "REPORT\r\nsecond\r\n"}));

    // Resizing one window resizes its own text area only.
    RECT other_before{}, other_after{}, client{};
    GetWindowRect(TextArea(outputs[1]), &other_before);
    MoveWindow(outputs[0], 5, 5, 420, 230, TRUE);
    GetClientRect(outputs[0], &client);
    RECT text{};
    GetWindowRect(TextArea(outputs[0]), &text);
    EXPECT_EQ(text.right - text.left, client.right);
    EXPECT_EQ(text.bottom - text.top, client.bottom);
    GetWindowRect(TextArea(outputs[1]), &other_after);
    EXPECT_EQ(other_after.right - other_after.left, other_before.right - other_before.left);
    EXPECT_EQ(other_after.bottom - other_after.top, other_before.bottom - other_before.top);
}

TEST_F(SaveAndRunTest, ErrorOutputIsShownAndNoWindowOpens) {
    HWND editor = TpEditor("standin_err300.exe");
    Type(editor, "Y");
    // Owned by the frame, which is disabled while the message is up: no second run can
    // start and the message cannot fall behind.
    bool frame_enabled = true;
    boxes_.Answer(IDOK, [&] { frame_enabled = IsWindowEnabled(frame_); });
    Click(editor, 3);
    ASSERT_EQ(boxes_.Captions(), std::vector<std::string>{"Error!"});
    EXPECT_EQ(boxes_.seen()[0].text, standin::Pattern(256));
    EXPECT_EQ(boxes_.seen()[0].owner, frame_);
    EXPECT_FALSE(frame_enabled);
    EXPECT_TRUE(Children("OutputChildClass").empty());
    // The input was saved and the editor is clean all the same.
    EXPECT_EQ(scratch_.Read("input.tp"), "Yrun one\r\n" + kZero);
    EXPECT_FALSE(Changed(editor));
}

TEST_F(SaveAndRunTest, MissingSolverIsReportedAfterSaving) {
    ProvideSolver(nullptr);
    scratch_.Write("input.hp", "hp input\r\n");
    HWND editor = OpenEditor(kHP);
    Type(editor, "Z");
    boxes_.Answer(IDOK);
    Click(editor, 3);
    ASSERT_EQ(boxes_.seen().size(), 1u);
    EXPECT_EQ(boxes_.seen()[0].text, "Could not execute file quellin.exe");
    EXPECT_EQ(boxes_.seen()[0].owner, frame_);
    EXPECT_EQ(scratch_.Read("input.hp"), "Zhp input\r\n" + kZero);
    EXPECT_TRUE(Children("OutputChildClass").empty());
}

// The HP kind run by a stand-in that writes OUTPUT.TP and no "output.hp".
TEST_F(SaveAndRunTest, ReportNotWrittenByTheRunIsNeverShown) {
    ProvideSolver("standin_quiet.exe", "quellin.exe");
    scratch_.Write("input.hp", "hp input\r\n");
    HWND editor = OpenEditor(kHP);
    for (const bool earlier_report : {false, true}) {
        if (earlier_report) scratch_.WriteOld("output.hp", "an earlier run's report\r\n");
        boxes_.Clear();
        boxes_.Answer(IDOK);
        Click(editor, 3);
        ASSERT_EQ(boxes_.Captions(), std::vector<std::string>{"Error!"});
        EXPECT_EQ(boxes_.seen()[0].text, "quellin.exe did not write the report output.hp");
        EXPECT_TRUE(Children("OutputChildClass").empty());
    }
}

ImportPatch* report_lock = nullptr;
HANDLE WINAPI ReportLockedCreateFileW(LPCWSTR name, DWORD access, DWORD share,
                                      LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                      DWORD flags, HANDLE model) {
    if (std::wstring(name) == L"OUTPUT.TP") {
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    auto real = reinterpret_cast<decltype(&CreateFileW)>(report_lock->original());
    return real(name, access, share, security, disposition, flags, model);
}

TEST_F(SaveAndRunTest, ReportThatCannotBeOpenedIsNoSuccess) {
    HWND editor = TpEditor("standin_quiet.exe");
    ImportPatch locked("KERNEL32.dll", "CreateFileW", reinterpret_cast<void*>(ReportLockedCreateFileW));
    ASSERT_TRUE(locked.applied());
    report_lock = &locked;
    boxes_.Answer(IDRETRY);
    boxes_.Answer(IDCANCEL);
    Click(editor, 3);
    ASSERT_EQ(boxes_.Captions(), (std::vector<std::string>{"Error!", "Error!"}));
    for (const SeenBox& box : boxes_.seen()) {
        EXPECT_EQ(box.text, "Error while attempting to open file output.tp");
        EXPECT_EQ(box.buttons, (std::vector<int>{IDCANCEL, IDRETRY}));
        EXPECT_TRUE(box.icon);
    }
    EXPECT_TRUE(Children("OutputChildClass").empty());
    EXPECT_TRUE(IsWindow(editor));
}

TEST_F(SaveAndRunTest, EditMenuActsOnTheActiveOutputWindow) {
    HWND editor = TpEditor("standin_quiet.exe", "abc\r\n");
    size_t windows_then = 0;
    ExpectSuccess(&windows_then);
    Click(editor, 3);
    std::vector<HWND> outputs = Children("OutputChildClass");
    ASSERT_EQ(outputs.size(), 1u);
    ASSERT_EQ(Active(), outputs[0]);

    SendMessageA(TextArea(outputs[0]), EM_SETSEL, 0, 6);  // "REPORT"
    Choose(40009);  // Cut: the report's text can be edited, though never saved
    EXPECT_EQ(Text(TextArea(outputs[0])), "\r\nabc\r\n");
    Choose(orvello::kKinds[kKindTP].command);  // back to the editor
    ASSERT_EQ(Active(), editor);
    SelectAll(editor);
    Choose(40010);  // Paste
    EXPECT_EQ(Text(TextArea(editor)), "REPORT");
    EXPECT_EQ(scratch_.Read("OUTPUT.TP"), "REPORT\r\nabc\r\n" + kZero);
}

}  // namespace
}  // namespace launcher_test
