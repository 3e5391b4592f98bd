// Answers the message boxes the code under test shows on this thread, and records them.
// A thread-local CBT hook sees each box as it is activated; the production code is
// unchanged.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace launcher_test {

struct SeenBox {
    std::string caption;
    std::string text;
    HWND owner = nullptr;      // the top-level owner, or none
    std::vector<int> buttons;  // the buttons present: IDOK, IDCANCEL, IDRETRY, IDYES, IDNO
    bool icon = false;         // an icon is shown (the launcher shows only the warning icon)
    int default_button = 0;    // the button Enter presses: the one focused first
    int pressed = 0;
    bool expected = true;      // false: no answer was queued, or the queued button was absent
};

class MessageBoxes {
public:
    MessageBoxes();
    ~MessageBoxes();
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;

    // The next box is answered with this button. The action runs first, while the box
    // is shown (to create a file before Retry, or to look at the windows).
    void Answer(int button, std::function<void()> before = nullptr);

    const std::vector<SeenBox>& seen() const { return seen_; }
    void Clear() { seen_.clear(); }
    std::vector<std::string> Captions() const;
    // Queued answers that no box has used.
    size_t pending() const { return answers_.size(); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam);
    void OnBox(HWND box);

    struct Queued {
        int button;
        std::function<void()> before;
    };
    HHOOK hook_ = nullptr;
    std::deque<Queued> answers_;
    std::vector<SeenBox> seen_;
};

}  // namespace launcher_test
