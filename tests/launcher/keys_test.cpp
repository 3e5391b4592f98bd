// The keyboard: where the keys go, and the keys of the frame and its children.
#include <string>

#include "launcher.h"
#include "launcher_fixture.h"

namespace launcher_test {
namespace {

using orvello::kKindTP;

class KeysTest : public LauncherTest {
protected:
    // Editors of the UV and TP kinds, the TP one active, with a stand-in as its solver.
    void OpenTwoEditors() {
        ProvideSolver("standin_quiet.exe");
        scratch_.Write("input.uv", "uv\r\n");
        scratch_.Write("input.tp", "tp\r\n");
        uv_ = OpenEditor(0);
        tp_ = OpenEditor(kKindTP);
    }
    // A key pressed where the focus is, Ctrl held when asked, as the launcher's message
    // loop sees it.
    static void Press(UINT key, bool ctrl = false) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(state);
        MSG msg{};
        msg.hwnd = GetFocus();
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        msg.lParam = 1;
        if (!orvello::TranslateKeys(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        state[VK_CONTROL] = 0;
        SetKeyboardState(state);
    }
    HWND uv_ = nullptr, tp_ = nullptr;
};

TEST_F(KeysTest, TextHasTheFocusWheneverItsWindowIsActivated) {
    OpenTwoEditors();
    EXPECT_EQ(GetFocus(), TextArea(tp_));  // opened
    Choose(orvello::kKinds[0].command);
    EXPECT_EQ(GetFocus(), TextArea(uv_));  // chosen again from the menu
    Click(uv_, 2);
    EXPECT_EQ(GetFocus(), TextArea(uv_));  // after a save
    Type(uv_, "x");
    boxes_.Answer(IDNO);
    SendMessageA(uv_, WM_CLOSE, 0, 0);
    EXPECT_EQ(GetFocus(), TextArea(uv_));  // after a message box

    boxes_.Answer(IDOK);
    Choose(orvello::kKinds[kKindTP].command);
    Click(tp_, 3);
    ASSERT_EQ(Children("OutputChildClass").size(), 1u);
    EXPECT_EQ(GetFocus(), TextArea(Children("OutputChildClass")[0]));  // the new report
}

TEST_F(KeysTest, CtrlSSavesF5RunsCtrlF6MovesOnCtrlF4Closes) {
    OpenTwoEditors();
    Type(tp_, "1");
    Press('S', true);
    EXPECT_FALSE(Changed(tp_));
    EXPECT_EQ(scratch_.Read("input.tp"), std::string("1tp\r\n") + '\0');
    EXPECT_TRUE(boxes_.seen().empty());

    Type(tp_, "2");
    boxes_.Answer(IDOK);
    Press(VK_F5);
    EXPECT_EQ(boxes_.Captions(), std::vector<std::string>{"Success!"});
    EXPECT_EQ(scratch_.Read("OUTPUT.TP"), std::string("REPORT\r\n12tp\r\n") + '\0');
    HWND output = Active();
    ASSERT_EQ(Children("OutputChildClass"), std::vector<HWND>{output});
    // On a report window they do nothing.
    Press('S', true);
    Press(VK_F5);
    EXPECT_EQ(boxes_.seen().size(), 1u);

    Press(VK_F6, true);
    EXPECT_NE(Active(), output);
    Choose(orvello::kKinds[kKindTP].command);
    Type(tp_, "3");
    boxes_.Answer(IDNO);
    Press(VK_F4, true);
    EXPECT_EQ(boxes_.Captions(), (std::vector<std::string>{"Success!", "Are you sure?"}));
    EXPECT_TRUE(IsWindow(tp_));
    boxes_.Answer(IDYES);
    Press(VK_F4, true);
    EXPECT_FALSE(IsWindow(tp_));
}

}  // namespace
}  // namespace launcher_test
