// The frame: start-up, menu bar, one editor per kind, the Edit menu and the end.
#include <string>
#include <vector>

#include "launcher.h"
#include "launcher_fixture.h"

namespace launcher_test {
namespace {

using orvello::kKinds;
using orvello::launcher;

struct MenuEntry {
    std::string text;  // empty for a separator
    UINT id;
};

std::vector<MenuEntry> Entries(HMENU menu) {
    std::vector<MenuEntry> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        entries.push_back({(info.fType & MFT_SEPARATOR) ? "" : text, info.wID});
    }
    return entries;
}

using FrameTest = LauncherTest;

TEST_F(FrameTest, StartsWithTitleMenuBarAndEmptyMdiArea) {
    EXPECT_EQ(Title(frame_), "Access to ZORVATH, QUELLIN and BRASKOT Software");
    EXPECT_TRUE(GetWindowLongA(frame_, GWL_STYLE) & WS_OVERLAPPEDWINDOW);

    HMENU bar = GetMenu(frame_);
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar, launcher.menu);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    char name[32] = {};
    GetMenuStringA(bar, 0, name, sizeof name, MF_BYPOSITION);
    EXPECT_STREQ(name, "&File");
    GetMenuStringA(bar, 1, name, sizeof name, MF_BYPOSITION);
    EXPECT_STREQ(name, "&Edit");

    std::vector<MenuEntry> file = Entries(GetSubMenu(bar, 0));
    ASSERT_EQ(file.size(), 5u);
    EXPECT_EQ(file[0].text, "BRASKOT Parameters...");
    EXPECT_EQ(file[0].id, 40001u);
    EXPECT_EQ(file[1].text, "QUELLIN Parameters...");
    EXPECT_EQ(file[1].id, 40002u);
    EXPECT_EQ(file[2].text, "ZORVATH Parameters...");
    EXPECT_EQ(file[2].id, 40003u);
    EXPECT_EQ(file[3].text, "");
    EXPECT_EQ(file[4].text, "E&xit");
    EXPECT_EQ(file[4].id, 40004u);

    // Listed Cut, Copy, Paste; numbered with Copy lowest.
    std::vector<MenuEntry> edit = Entries(GetSubMenu(bar, 1));
    ASSERT_EQ(edit.size(), 3u);
    EXPECT_EQ(edit[0].text, "Cut");
    EXPECT_EQ(edit[0].id, 40009u);
    EXPECT_EQ(edit[1].text, "Copy");
    EXPECT_EQ(edit[1].id, 40008u);
    EXPECT_EQ(edit[2].text, "Paste");
    EXPECT_EQ(edit[2].id, 40010u);

    HWND area = GetDlgItem(frame_, 1);
    ASSERT_TRUE(area);
    EXPECT_EQ(area, launcher.mdi_area);
    char cls[32] = {};
    GetClassNameA(area, cls, sizeof cls);
    EXPECT_STREQ(cls, "MDIClient");
    EXPECT_EQ(GetWindow(area, GW_CHILD), nullptr);
    for (HWND slot : launcher.editors) EXPECT_EQ(slot, nullptr);
}

TEST_F(FrameTest, RegistersThreeClassesAndTheProgramIcon) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    struct Expected {
        const char* name;
        int extra;
        bool icon;
        int brush;
    } classes[] = {{"FrameClass", 0, true, LTGRAY_BRUSH},
                   {"OutputChildClass", 0, false, WHITE_BRUSH},
                   {"ChildClass", 24, false, WHITE_BRUSH}};
    for (const Expected& e : classes) {
        WNDCLASSA wc{};
        ASSERT_TRUE(GetClassInfoA(instance, e.name, &wc)) << e.name;
        EXPECT_EQ(wc.style, UINT(CS_HREDRAW | CS_VREDRAW)) << e.name;
        EXPECT_EQ(wc.cbWndExtra, e.extra) << e.name;
        EXPECT_EQ(wc.cbClsExtra, 0) << e.name;
        EXPECT_EQ(wc.hIcon != nullptr, e.icon) << e.name;
        EXPECT_EQ(wc.hbrBackground, GetStockObject(e.brush)) << e.name;
        EXPECT_EQ(wc.lpszMenuName, nullptr) << e.name;
    }

    // Icon group 102 holds one 32x32 image in 16 colours.
    HRSRC group = FindResourceA(instance, MAKEINTRESOURCEA(102), MAKEINTRESOURCEA(14));
    ASSERT_TRUE(group);
    auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(instance, group)));
    ASSERT_TRUE(dir);
    EXPECT_EQ(dir[4] | dir[5] << 8, 1);  // image count
    const BYTE* entry = dir + 6;
    EXPECT_EQ(entry[0], 32);  // width
    EXPECT_EQ(entry[1], 32);  // height
    EXPECT_EQ(entry[2], 16);  // colours
    EXPECT_EQ(entry[6] | entry[7] << 8, 4);  // bits per pixel
}

TEST_F(FrameTest, SecondChoiceRestoresTheOneEditorOfItsKind) {
    scratch_.Write("input.tp", "TP title\r\n");
    HWND editor = OpenEditor(orvello::kKindTP);
    ASSERT_TRUE(editor);
    EXPECT_EQ(Title(editor), "input.tp");

    ShowWindow(editor, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(editor));
    Choose(40003);
    EXPECT_EQ(Editor(orvello::kKindTP), editor);
    EXPECT_FALSE(IsIconic(editor));
    EXPECT_EQ(Children("ChildClass").size(), 1u);
    EXPECT_TRUE(boxes_.seen().empty());
}

TEST_F(FrameTest, EachKindOpensItsOwnInputFile) {
    for (const auto& kind : kKinds) scratch_.Write(kind.input_file, std::string("text of ") + kind.tag);
    for (int kind = 0; kind < orvello::kKindCount; ++kind) {
        HWND editor = OpenEditor(kind);
        ASSERT_TRUE(editor) << kKinds[kind].tag;
        EXPECT_EQ(Title(editor), kKinds[kind].input_file);
        EXPECT_EQ(GetWindowLongA(editor, 4), kind);  // the kind in the editor's storage
        EXPECT_EQ(Text(TextArea(editor)), std::string("text of ") + kKinds[kind].tag);
        EXPECT_EQ(Active(), editor);
    }
    EXPECT_EQ(Children("ChildClass").size(), 3u);

    // Choosing an open kind again brings that editor forward.
    Choose(40001);
    EXPECT_EQ(Active(), Editor(0));
    EXPECT_EQ(Children("ChildClass").size(), 3u);
}

TEST_F(FrameTest, EditorClosedAndChosenAgainReloadsFromDisk) {
    scratch_.Write("input.tp", "first\r\n");
    HWND first = OpenEditor(orvello::kKindTP);
    ASSERT_TRUE(first);
    SendMessageA(first, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(Editor(orvello::kKindTP), nullptr);

    scratch_.Write("input.tp", "second\r\n");
    HWND second = OpenEditor(orvello::kKindTP);
    ASSERT_TRUE(second);
    EXPECT_EQ(Text(TextArea(second)), "second\r\n");
}

TEST_F(FrameTest, CloseNoticeEmptiesOnlyTheSlotOfThatEditor) {
    scratch_.Write("input.tp", "x");
    scratch_.Write("input.uv", "y");
    HWND tp = OpenEditor(orvello::kKindTP);
    HWND uv = OpenEditor(0);
    // Another parent notification (a child created) leaves the slots alone.
    SendMessageA(frame_, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, 2), reinterpret_cast<LPARAM>(tp));
    EXPECT_EQ(Editor(orvello::kKindTP), tp);
    SendMessageA(frame_, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, 2), reinterpret_cast<LPARAM>(tp));
    EXPECT_EQ(Editor(orvello::kKindTP), nullptr);
    EXPECT_EQ(Editor(0), uv);
}

TEST_F(FrameTest, ExitAsksOnceForAllEditorsWithChanges) {
    // File, Exit, the frame's close box, and the end of the Windows session (last: there
    // Yes only answers Windows, which then ends the process).
    for (const UINT close : {UINT(WM_COMMAND), UINT(WM_CLOSE), UINT(WM_QUERYENDSESSION)}) {
        SCOPED_TRACE(close == WM_CLOSE ? "close box" : close == WM_COMMAND ? "File, Exit" : "end of session");
        for (const auto& kind : kKinds) scratch_.Write(kind.input_file, "kept\r\n");
        HWND hp = OpenEditor(1);  // clean: not named
        HWND uv = OpenEditor(0);
        HWND tp = OpenEditor(orvello::kKindTP);
        Type(uv, "u");
        Type(tp, "t");
        auto exit = [&]() -> LRESULT {
            if (close != WM_COMMAND) return SendMessageA(frame_, close, 0, 0);
            Choose(40004);
            return 0;
        };

        boxes_.Answer(IDNO);
        const LRESULT refused = exit();
        ASSERT_EQ(boxes_.seen().size(), 1u);
        const SeenBox& question = boxes_.seen()[0];
        EXPECT_EQ(question.caption, "Are you sure?");
        // Listed as stacked, the active one first.
        EXPECT_EQ(question.text,
                  "Your changes to input.tp and input.uv have not been saved. Exit anyway?");
        EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(question.default_button, IDNO);
        EXPECT_EQ(question.owner, frame_);
        for (HWND editor : {hp, uv, tp}) EXPECT_TRUE(IsWindow(editor));
        EXPECT_TRUE(Changed(uv) && Changed(tp));

        boxes_.Answer(IDYES);
        const LRESULT agreed = exit();
        EXPECT_EQ(boxes_.seen().size(), 2u);
        EXPECT_EQ(scratch_.Read("input.tp"), "kept\r\n");
        if (close == WM_QUERYENDSESSION) {
            EXPECT_EQ(refused, FALSE);  // Windows is asked not to end the session
            EXPECT_EQ(agreed, TRUE);
            break;
        }
        EXPECT_FALSE(IsWindow(frame_));
        EXPECT_FALSE(IsWindow(tp));
        MSG msg;
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(msg.wParam, 0u);
        boxes_.Clear();
        SetUp();  // a new launcher for the next way out
    }
}

TEST_F(FrameTest, ExitWithoutChangesAsksNothing) {
    scratch_.Write("input.tp", "kept\r\n");
    HWND editor = OpenEditor(orvello::kKindTP);
    Choose(40004);
    EXPECT_FALSE(IsWindow(frame_));
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_TRUE(boxes_.seen().empty());
}

TEST_F(FrameTest, EditCommandsActOnTheActiveChildOnly) {
    // With no child open they do nothing.
    Choose(40008);
    Choose(40009);
    Choose(40010);

    scratch_.Write("input.uv", "UV text");
    scratch_.Write("input.tp", "TP text");
    HWND uv = OpenEditor(0);
    HWND tp = OpenEditor(orvello::kKindTP);
    ASSERT_EQ(Active(), tp);
    SelectAll(uv);
    SelectAll(tp);

    Choose(40008);  // Copy changes nothing
    EXPECT_FALSE(Changed(tp));
    Choose(40009);  // Cut
    EXPECT_EQ(Text(TextArea(tp)), "");
    EXPECT_TRUE(Changed(tp));
    EXPECT_EQ(Text(TextArea(uv)), "UV text");
    EXPECT_FALSE(Changed(uv));

    Choose(40001);  // brings the UV editor forward
    ASSERT_EQ(Active(), uv);
    SelectAll(uv);
    Choose(40010);  // Paste
    EXPECT_EQ(Text(TextArea(uv)), "TP text");
    EXPECT_TRUE(Changed(uv));
    EXPECT_EQ(Text(TextArea(tp)), "");
}

}  // namespace
}  // namespace launcher_test
