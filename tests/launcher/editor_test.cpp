// The parameter editor: layout, change tracking, the close question and the open loop.
#include <string>

#include "launcher.h"
#include "launcher_fixture.h"

namespace launcher_test {
namespace {

using orvello::kKindTP;

using EditorTest = LauncherTest;

RECT PlaceIn(HWND parent, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST_F(EditorTest, ButtonBarAboveTheTextArea) {
    scratch_.Write("input.tp", "title\r\n");
    HWND editor = OpenEditor(kKindTP);
    ASSERT_TRUE(editor);

    HWND save = GetDlgItem(editor, 2), run = GetDlgItem(editor, 3);
    HWND filler = GetDlgItem(editor, 4), text = TextArea(editor);
    ASSERT_TRUE(save && run && filler && text);
    // The editor's storage holds the controls in this order, after the flag and kind.
    EXPECT_EQ(GetWindowLongA(editor, 8), HandleToLong(save));
    EXPECT_EQ(GetWindowLongA(editor, 12), HandleToLong(run));
    EXPECT_EQ(GetWindowLongA(editor, 16), HandleToLong(text));
    EXPECT_EQ(GetWindowLongA(editor, 20), HandleToLong(filler));

    EXPECT_EQ(Text(save), "Save");
    EXPECT_EQ(Text(run), "Save && Run");
    EXPECT_EQ(Text(filler), "");
    char cls[16];
    GetClassNameA(filler, cls, sizeof cls);
    EXPECT_STREQ(cls, "Static");
    // The edit control draws the border itself and takes the bit off its style.
    const DWORD style = orvello::kTextAreaStyle & ~WS_BORDER;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(text, GWL_STYLE)) & style, style);
    EXPECT_FALSE(GetWindowLongA(text, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(SendMessageA(text, WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(GetStockObject(SYSTEM_FIXED_FONT)));
    EXPECT_NE(SendMessageA(save, WM_GETFONT, 0, 0), 0);
    EXPECT_FALSE(GetWindowLongA(editor, GWL_STYLE) & WS_MAXIMIZEBOX);

    auto check_layout = [&] {
        RECT client{};
        GetClientRect(editor, &client);
        RECT s = PlaceIn(editor, save), r = PlaceIn(editor, run);
        RECT f = PlaceIn(editor, filler), t = PlaceIn(editor, text);
        const LONG h = s.bottom;
        EXPECT_GT(h, 0);
        EXPECT_EQ(s.left, 0);
        EXPECT_EQ(s.top, 0);
        EXPECT_EQ(r.left, s.right);  // Save & Run follows Save
        EXPECT_EQ(r.bottom, h);
        EXPECT_GT(r.right - r.left, s.right - s.left);  // the longer text is wider
        EXPECT_EQ(f.left, r.right);
        EXPECT_EQ(f.bottom, h);
        EXPECT_EQ(f.right, client.right);  // the filler strip stretches to the edge
        EXPECT_EQ(t.left, 0);
        EXPECT_EQ(t.top, h);
        EXPECT_EQ(t.right, client.right);
        EXPECT_EQ(t.bottom, client.bottom);
        return h;
    };
    const LONG h = check_layout();
    MoveWindow(editor, 10, 10, 600, 300, TRUE);
    EXPECT_EQ(check_layout(), h);  // the bar keeps its height
    MoveWindow(editor, 0, 0, 350, 450, TRUE);
    EXPECT_EQ(check_layout(), h);

    // The filler strip asks for its colours and is painted light grey.
    HDC dc = GetDC(filler);
    EXPECT_EQ(SendMessageA(editor, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(filler)),
              reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH)));
    ReleaseDC(filler, dc);
}

TEST_F(EditorTest, TypingCutAndPasteMakeTheEditorDirtyCopyDoesNot) {
    scratch_.Write("input.tp", "8.0\r\n");
    HWND editor = OpenEditor(kKindTP);
    EXPECT_FALSE(Changed(editor));  // loading is not a change

    Type(editor, "1");
    EXPECT_TRUE(Changed(editor));
    Click(editor, 2);
    EXPECT_FALSE(Changed(editor));

    SelectAll(editor);
    Choose(40008);  // Copy
    EXPECT_FALSE(Changed(editor));
    Choose(40009);  // Cut
    EXPECT_TRUE(Changed(editor));
    Click(editor, 2);
    ASSERT_FALSE(Changed(editor));
    Choose(40010);  // Paste
    EXPECT_TRUE(Changed(editor));
    EXPECT_EQ(Text(TextArea(editor)), "18.0\r\n");
    EXPECT_TRUE(boxes_.seen().empty());
}

TEST_F(EditorTest, DirtyEditorAsksBeforeClosing) {
    scratch_.Write("input.tp", "on disk\r\n");
    HWND editor = OpenEditor(kKindTP);
    Type(editor, "X");

    boxes_.Answer(IDNO);
    SendMessageA(editor, WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes_.seen().size(), 1u);
    const SeenBox& question = boxes_.seen()[0];
    EXPECT_EQ(question.caption, "Are you sure?");
    EXPECT_EQ(question.text, "Your changes have not been saved. Exit anyway?");
    EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(question.default_button, IDNO);  // Enter keeps the edits
    EXPECT_FALSE(question.icon);
    EXPECT_EQ(question.owner, frame_);  // owned by the editor, whose top level is the frame
    EXPECT_TRUE(IsWindow(editor));
    EXPECT_TRUE(Changed(editor));
    EXPECT_EQ(Editor(kKindTP), editor);

    boxes_.Answer(IDYES);
    SendMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_EQ(boxes_.seen().size(), 2u);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(Editor(kKindTP), nullptr);
    EXPECT_EQ(scratch_.Read("input.tp"), "on disk\r\n");  // the changes are lost
}

TEST_F(EditorTest, CleanEditorClosesWithoutQuestion) {
    scratch_.Write("input.tp", "x");
    HWND editor = OpenEditor(kKindTP);
    SendMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_TRUE(boxes_.seen().empty());
}

TEST_F(EditorTest, MissingInputFileAsksRetryOrCancel) {
    // Retry while the file is still missing asks again; Retry after it appeared loads it.
    boxes_.Answer(IDRETRY);
    boxes_.Answer(IDRETRY, [&] { scratch_.Write("input.tp", "now here\r\n"); });
    HWND editor = OpenEditor(kKindTP);
    ASSERT_EQ(boxes_.seen().size(), 2u);
    for (const SeenBox& box : boxes_.seen()) {
        EXPECT_EQ(box.caption, "Error!");
        EXPECT_EQ(box.text, "Error while attempting to open file input.tp");
        EXPECT_EQ(box.buttons, (std::vector<int>{IDCANCEL, IDRETRY}));
        EXPECT_TRUE(box.icon);
    }
    ASSERT_TRUE(editor);
    EXPECT_EQ(Text(TextArea(editor)), "now here\r\n");
    EXPECT_FALSE(Changed(editor));
}

TEST_F(EditorTest, CancelOnMissingInputFileClosesTheEditor) {
    boxes_.Answer(IDCANCEL);
    EXPECT_EQ(OpenEditor(kKindTP), nullptr);
    EXPECT_TRUE(Children("ChildClass").empty());
    EXPECT_EQ(boxes_.seen().size(), 1u);

    // The menu item later opens a new editor.
    scratch_.Write("input.tp", "later\r\n");
    HWND editor = OpenEditor(kKindTP);
    ASSERT_TRUE(editor);
    EXPECT_EQ(Text(TextArea(editor)), "later\r\n");
    EXPECT_EQ(boxes_.seen().size(), 1u);
}

TEST_F(EditorTest, SaveThatCannotWriteKeepsTheEditorWhateverTheAnswer) {
    scratch_.Write("input.tp", "old\r\n");
    HWND editor = OpenEditor(kKindTP);
    Type(editor, "new ");
    // Another program has the file open and shares it with no one.
    HANDLE other = CreateFileA("input.tp", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);

    boxes_.Answer(IDRETRY);  // still locked: asks again
    boxes_.Answer(IDCANCEL);
    Click(editor, 2);
    ASSERT_EQ(boxes_.Captions(), (std::vector<std::string>{"Error!", "Error!"}));
    for (const SeenBox& box : boxes_.seen()) {
        EXPECT_EQ(box.text, "Error while attempting to write file input.tp");
        EXPECT_EQ(box.buttons, (std::vector<int>{IDCANCEL, IDRETRY}));
    }
    EXPECT_TRUE(IsWindow(editor));
    EXPECT_TRUE(Changed(editor));
    EXPECT_EQ(Text(TextArea(editor)), "new old\r\n");
    CloseHandle(other);
    EXPECT_EQ(scratch_.Read("input.tp"), "old\r\n");

    // Retry once the file can be written saves it.
    other = CreateFileA("input.tp", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    boxes_.Answer(IDRETRY, [&] { CloseHandle(other); });
    Click(editor, 2);
    EXPECT_FALSE(Changed(editor));
    EXPECT_EQ(scratch_.Read("input.tp"), std::string("new old\r\n") + '\0');
}

TEST_F(EditorTest, TakesTextsBeyondThirtyThousandCharacters) {
    const std::string big(40000, '7');
    scratch_.Write("input.tp", big);
    HWND editor = OpenEditor(kKindTP);
    SendMessageA(TextArea(editor), EM_SETSEL, big.size(), big.size());
    Type(editor, "8");
    const std::string shown = Text(TextArea(editor));
    EXPECT_EQ(shown.size(), big.size() + 1);
    EXPECT_EQ(shown.back(), '8');
    Click(editor, 2);
    EXPECT_TRUE(scratch_.Read("input.tp") == big + "8" + '\0');
}

}  // namespace
}  // namespace launcher_test
