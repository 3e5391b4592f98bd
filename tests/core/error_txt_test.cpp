// ERROR.TXT, the explanation file the reports refer to: every message id the core can
// raise and every input/output error number has its entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "runend.h"
#include "scratch.h"

namespace {

const std::string kErrorTxt = std::string(SUITE_DATA_DIR) + "/ERROR.TXT";

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    for (size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
        lines.push_back(text.substr(pos, end - pos));
    EXPECT_EQ(pos, text.size()) << "text after the last CR LF";
    return lines;
}

bool has_line_starting(const std::vector<std::string>& lines, const std::string& start) {
    for (const auto& l : lines)
        if (l.compare(0, start.size(), start) == 0) return true;
    return false;
}

TEST(ErrorTxt, IsTextWithCrLfLines) {
    std::string text = testing_support::read_file(kErrorTxt);
    ASSERT_FALSE(text.empty());
    std::vector<std::string> lines = lines_of(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].find_first_of("\r\n\t"), std::string::npos) << "line " << i + 1;
        EXPECT_LE(lines[i].size(), 78u) << "line " << i + 1;
    }
}

TEST(ErrorTxt, ExplainsEveryMessageIdTheCoreRaises) {
    std::vector<std::string> lines = lines_of(testing_support::read_file(kErrorTxt));
    // The catalogue, with the three ids of the input the solver cannot work with and the
    // four of a reactant charge that does not fit its fuel.
    std::set<std::string> ids = {"GE01", "GE02", "GE03", "GE04", "GE05", "GE06", "GE07", "GE08",
                                 "GE09", "GE10", "GE11", "GE12", "GP01", "GP02", "GP03",
                                 "GR01", "GR02", "GR03", "GR04"};
    // And any id written in the core's sources, so that a new message cannot go unexplained.
    const std::regex id_literal("\"(G[EPR][0-9][0-9])\"");
    for (const auto& entry : std::filesystem::directory_iterator(std::string(SUITE_DATA_DIR) + "/../core")) {
        if (entry.path().extension() != ".cpp") continue;
        std::string src = testing_support::read_file(entry.path().string());
        for (std::sregex_iterator m(src.begin(), src.end(), id_literal), end; m != end; ++m) ids.insert((*m)[1]);
    }
    for (const auto& id : ids) {
        EXPECT_TRUE(has_line_starting(lines, id + "  warning, from ") ||
                    has_line_starting(lines, id + "  terminal error, from "))
            << id;
    }
}

TEST(ErrorTxt, ListsEveryInputOutputErrorWithItsMessage) {
    std::vector<std::string> lines = lines_of(testing_support::read_file(kErrorTxt));
    using core::IoError;
    for (IoError e : {IoError::FileNotFound, IoError::EndOfFile, IoError::InvalidNumber, IoError::BadRepeatCount,
                      IoError::ValueTooLong, IoError::CtrlZInField, IoError::AccessRefused, IoError::DiskFull,
                      IoError::OpenFailed, IoError::ReadFailed, IoError::WriteFailed}) {
        std::string entry = std::to_string(core::io_error_number(e));
        entry.insert(entry.begin(), 'F');
        entry.append("  ").append(core::io_error_message(e));
        EXPECT_TRUE(has_line_starting(lines, entry)) << entry;
    }
}

}  // namespace
