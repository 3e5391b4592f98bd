// Loading and saving an editor's file byte for byte, and saves that cannot complete.
#include <string>

#include "launcher.h"
#include "handle_count.h"
#include "import_patch.h"
#include "launcher_fixture.h"

namespace launcher_test {
namespace {

using orvello::kKindTP;

const std::string kZero(1, '\0');

class SaveTest : public LauncherTest {
protected:
    // Opens the TP editor on these bytes, saves without changing anything and answers
    // the text shown and the bytes on disk.
    std::pair<std::string, std::string> LoadAndSave(const std::string& bytes) {
        scratch_.Write("input.tp", bytes);
        HWND editor = OpenEditor(kKindTP);
        if (!editor) return {"<no editor>", ""};
        std::string shown = Text(TextArea(editor));
        Click(editor, 2);
        EXPECT_FALSE(Changed(editor));
        SendMessageA(editor, WM_CLOSE, 0, 0);
        return {shown, scratch_.Read("input.tp")};
    }
};

TEST_F(SaveTest, SavedFileEndsInOneZeroByteAndResavesUnchanged) {
    const std::string saved = "Octane\r\n8\r\n18\r\n" + kZero;
    auto [shown, on_disk] = LoadAndSave(saved);
    EXPECT_EQ(shown, "Octane\r\n8\r\n18\r\n");
    EXPECT_EQ(on_disk, saved);
    EXPECT_EQ(LoadAndSave(on_disk).second, saved);
}

TEST_F(SaveTest, FileWithoutZeroByteGainsOne) {
    auto [shown, on_disk] = LoadAndSave("a\r\nlast line");
    EXPECT_EQ(shown, "a\r\nlast line");
    EXPECT_EQ(on_disk, "a\r\nlast line" + kZero);
}

TEST_F(SaveTest, EmptyTextSavesOneZeroByte) {
    EXPECT_EQ(LoadAndSave("").second, kZero);
    EXPECT_EQ(LoadAndSave(kZero).second, kZero);
}

TEST_F(SaveTest, TextEndsAtTheFirstZeroByte) {
    auto [shown, on_disk] = LoadAndSave("kept" + kZero + "dropped");
    EXPECT_EQ(shown, "kept");
    EXPECT_EQ(on_disk, "kept" + kZero);
}

TEST_F(SaveTest, TypedTextIsSavedWithItsLineBreaks) {
    scratch_.Write("input.tp", "");
    HWND editor = OpenEditor(kKindTP);
    SetWindowTextA(TextArea(editor), "Methane\r\n1\r\n4\r\n");
    Click(editor, 2);
    EXPECT_EQ(scratch_.Read("input.tp"), "Methane\r\n1\r\n4\r\n" + kZero);
}

// Faults put in the launcher's way through its imports.
BOOL WINAPI DiskFullWriteFile(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

ImportPatch* short_write_patch = nullptr;
BOOL WINAPI ShortWriteFile(HANDLE file, LPCVOID bytes, DWORD count, LPDWORD written,
                           LPOVERLAPPED overlapped) {
    auto real = reinterpret_cast<decltype(&WriteFile)>(short_write_patch->original());
    return real(file, bytes, count / 2, written, overlapped);  // "succeeds" with half
}

HLOCAL WINAPI NoMemoryLocalAlloc(UINT, SIZE_T) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

class FailedSaveTest : public SaveTest {
protected:
    // An editor with unsaved changes on "old" and a stand-in solver that would write a report.
    HWND DirtyEditor() {
        scratch_.Write("input.tp", "old\r\n");
        ProvideSolver("standin_quiet.exe");
        HWND editor = OpenEditor(kKindTP);
        Type(editor, "new ");
        return editor;
    }
    // Save & Run after a save that failed with this message: reported (once for each
    // try), no run, and the editor keeps its changes; a later save with the fault gone
    // completes.
    void ExpectReportedNotRun(HWND editor, const std::string& message, size_t tries = 1) {
        ASSERT_EQ(boxes_.seen().size(), tries);
        for (const SeenBox& box : boxes_.seen()) {
            EXPECT_EQ(box.caption, "Error!");
            EXPECT_EQ(box.text, message);
        }
        EXPECT_TRUE(IsWindow(editor));
        EXPECT_TRUE(Changed(editor));
        EXPECT_FALSE(scratch_.Exists("OUTPUT.TP"));
        EXPECT_TRUE(Children("OutputChildClass").empty());
    }
    void ExpectLaterSaveCompletes(HWND editor) {
        Click(editor, 2);
        EXPECT_FALSE(Changed(editor));
        EXPECT_EQ(scratch_.Read("input.tp"), "new old\r\n" + kZero);
    }
};

TEST_F(FailedSaveTest, WriteThatFailsOrFallsShortIsReportedAndNothingRuns) {
    for (auto* write : {DiskFullWriteFile, ShortWriteFile}) {
        HWND editor = DirtyEditor();
        {
            ImportPatch fault("KERNEL32.dll", "WriteFile", reinterpret_cast<void*>(write));
            ASSERT_TRUE(fault.applied());
            short_write_patch = &fault;
            boxes_.Answer(IDRETRY);  // tries the save again, which fails again
            boxes_.Answer(IDCANCEL);
            Click(editor, 3);
            short_write_patch = nullptr;
        }
        ExpectReportedNotRun(editor, "Error while attempting to write file input.tp", 2);
        ExpectLaterSaveCompletes(editor);
        SendMessageA(editor, WM_CLOSE, 0, 0);
        boxes_.Clear();
    }
}

TEST_F(FailedSaveTest, NoMemoryIsReportedAndTheFileIsUntouched) {
    HWND editor = DirtyEditor();
    {
        ImportPatch fault("KERNEL32.dll", "LocalAlloc", reinterpret_cast<void*>(NoMemoryLocalAlloc));
        ASSERT_TRUE(fault.applied());
        boxes_.Answer(IDOK);
        Click(editor, 3);
    }
    ExpectReportedNotRun(editor, "Not enough memory for file input.tp");
    EXPECT_EQ(scratch_.Read("input.tp"), "old\r\n");  // not cut to nothing
    ExpectLaterSaveCompletes(editor);
}

TEST_F(FailedSaveTest, NoMemoryWhileLoadingClosesTheEditor) {
    scratch_.Write("input.tp", "old\r\n");
    {
        ImportPatch fault("KERNEL32.dll", "LocalAlloc", reinterpret_cast<void*>(NoMemoryLocalAlloc));
        ASSERT_TRUE(fault.applied());
        boxes_.Answer(IDOK);
        EXPECT_EQ(OpenEditor(kKindTP), nullptr);
    }
    ASSERT_EQ(boxes_.seen().size(), 1u);
    EXPECT_EQ(boxes_.seen()[0].text, "Not enough memory for file input.tp");
    EXPECT_TRUE(Children("ChildClass").empty());
    EXPECT_EQ(scratch_.Read("input.tp"), "old\r\n");
}

TEST_F(FailedSaveTest, FailedWriteOfACleanEditorMakesItAskBeforeClosing) {
    HWND editor = DirtyEditor();
    Click(editor, 2);
    ASSERT_FALSE(Changed(editor));
    {
        ImportPatch fault("KERNEL32.dll", "WriteFile", reinterpret_cast<void*>(DiskFullWriteFile));
        boxes_.Answer(IDCANCEL);
        Click(editor, 2);
    }
    // The file on disk was cut by the failed save; the text lives only in the editor.
    EXPECT_TRUE(Changed(editor));
    boxes_.Answer(IDNO);
    SendMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_EQ(boxes_.Captions(), (std::vector<std::string>{"Error!", "Are you sure?"}));
    EXPECT_TRUE(IsWindow(editor));
    ExpectLaterSaveCompletes(editor);
}

TEST_F(FailedSaveTest, SavesAndLoadsCloseTheirFilesOnEveryPath) {
    HWND editor = DirtyEditor();
    Click(editor, 2);  // once first, so that whatever is set up on first use is in place
    const int before = OpenHandleCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 2; ++i) {
        Click(editor, 2);
        ImportPatch fault("KERNEL32.dll", "WriteFile", reinterpret_cast<void*>(DiskFullWriteFile));
        boxes_.Answer(IDCANCEL);
        Click(editor, 2);
    }
    boxes_.Answer(IDYES);  // the failed save left it dirty
    SendMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(editor));
    editor = OpenEditor(kKindTP);
    ASSERT_TRUE(editor);
    SendMessageA(editor, WM_CLOSE, 0, 0);
    EXPECT_EQ(OpenHandleCount(), before);
}

}  // namespace
}  // namespace launcher_test
