#include "reads.h"

#include "numtext.h"
#include "runend.h"
#include "units.h"

namespace core {

namespace {

constexpr size_t kValueBuffer = 260;  // the longest free-form value accepted

bool blank(char c) { return c == ' ' || c == '\t'; }
bool ends_value(char c) { return c == ' ' || c == '\t' || c == ',' || c == '/'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void fail(int unit, IoError e, const std::string& detail) {
    io_failure(IoOp::Read, unit_name(unit), e, detail);
}

// The text at fault, as the report shows it: in quotes, cut after 40 characters, and
// a control character (a zero byte, a tab) as \x and two hex digits, so that the
// message stays one printable line.
std::string quoted(std::string_view text) {
    constexpr size_t kShown = 40;
    std::string q = "'";
    for (size_t i = 0; i < text.size() && i < kShown; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7f) {
            static const char hex[] = "0123456789ABCDEF";
            q += "\\x";
            q += hex[c >> 4];
            q += hex[c & 15];
        } else {
            q += static_cast<char>(c);
        }
    }
    q += text.size() > kShown ? "...'" : "'";
    return q;
}

// "line 3 holds '4x'", the start of a free-form read's complaint.
std::string line_holds(int unit, std::string_view token) {
    return "line " + std::to_string(record_number(unit)) + " holds " + quoted(token);
}

// A number directly followed by a comma and a digit ("2200,5") is almost always a
// decimal comma: read as the number before the comma it would be a silently wrong value.
// The complaint shows the text up to the next blank or slash (`comma` is where its first
// comma stands) and, when the comma taken for a point gives a number, that number.
[[noreturn]] void fail_decimal_comma(int unit, std::string_view from_value, size_t comma) {
    const std::string_view shown = from_value.substr(0, from_value.find_first_of(" \t/"));
    std::string with_point(shown);
    with_point[comma] = '.';
    const size_t star = shown.substr(0, comma).find('*');  // a repeat count before the value
    double v;
    if (shown.find(',', comma + 1) == std::string_view::npos &&
        parse_number(std::string_view(with_point).substr(star == std::string::npos ? 0 : star + 1), v))
        fail(unit, IoError::InvalidNumber, line_holds(unit, shown) + ": write decimals with a point, " + with_point);
    fail(unit, IoError::InvalidNumber,
         line_holds(unit, shown) + ": a comma between digits; write one value a line, decimals with a point");
}

}  // namespace

void read_free(int unit, double& item) {
    // Find the first non-blank character; record ends count as blanks.
    std::string_view rec;
    size_t i = 0;
    for (;;) {
        rec = read_record(unit);
        i = 0;
        while (i < rec.size() && blank(rec[i])) ++i;
        if (i < rec.size()) break;
    }
    // The separator state starts as comma: a comma here is a null value.
    if (rec[i] == ',' || rec[i] == '/') return;
    size_t start = i;
    while (i < rec.size() && !ends_value(rec[i])) ++i;
    std::string_view token = rec.substr(start, i - start);
    if (token.size() > kValueBuffer)
        fail(unit, IoError::ValueTooLong, "line " + std::to_string(record_number(unit)) + " holds a value of " +
                                              std::to_string(token.size()) + " characters, more than 260");
    const std::string_view value = token;

    size_t star = token.find('*');
    if (star != std::string_view::npos) {
        std::string_view count = token.substr(0, star);
        bool nonzero = false;
        bool digits = !count.empty();
        for (char c : count) {
            if (c < '0' || c > '9') digits = false;
            if (c > '0' && c <= '9') nonzero = true;
        }
        token = token.substr(star + 1);
        if (!digits || !nonzero || token.find('*') != std::string_view::npos)
            fail(unit, IoError::BadRepeatCount, line_holds(unit, value) + "; write r*value with r a positive integer");
        if (token.empty()) return;  // r* alone: null values
    }
    double v;
    if (!parse_number(token, v)) fail(unit, IoError::InvalidNumber, line_holds(unit, value) + ", which is not a decimal number");
    if (i + 1 < rec.size() && rec[i] == ',' && digit(rec[i + 1])) fail_decimal_comma(unit, rec.substr(start), i - start);
    item = v;
}

std::string read_text(int unit, int w, int L) {
    std::string_view rec = read_record(unit);
    std::string_view field = rec.substr(0, static_cast<size_t>(w) < rec.size() ? static_cast<size_t>(w) : rec.size());
    std::string field_padded(field);
    field_padded.resize(static_cast<size_t>(w), ' ');  // a record end stops the field early
    std::string item = w > L ? field_padded.substr(static_cast<size_t>(w - L)) : field_padded;
    item.resize(static_cast<size_t>(L), ' ');
    return item;
}

FieldReader::FieldReader(int unit) : unit_(unit), rec_(read_record(unit)), line_(record_number(unit)) {}

void FieldReader::next_record() {
    rec_ = read_record(unit_);
    line_ = record_number(unit_);
    pos_ = 0;
}

void FieldReader::X(int n) { pos_ += static_cast<size_t>(n); }

// "line 12, columns 21-30" (or "column 16"), where the last field read lies in its file.
std::string FieldReader::where() const {
    const std::string line = "line " + std::to_string(line_);
    if (first_ == last_) return line + ", column " + std::to_string(first_);
    return line + ", columns " + std::to_string(first_) + "-" + std::to_string(last_);
}

void FieldReader::fail_field(const char* is_not) const {
    const size_t from = cols_.find_first_not_of(" \t");
    const std::string_view text = from == std::string_view::npos ? std::string_view() : cols_.substr(from);
    fail(unit_, IoError::InvalidNumber,
         where() + (first_ == last_ ? " holds " : " hold ") + quoted(text.substr(0, text.find_last_not_of(" \t") + 1)) +
             ", which is not " + is_not);
}

std::string FieldReader::field(int w) {
    std::string text;
    if (w <= 0 || pos_ >= rec_.size()) return text;
    // The field's columns up to a comma (used up with the field) or the record end; the
    // runs of characters between blanks are joined.
    const std::string_view cols = rec_.substr(pos_, static_cast<size_t>(w));
    first_ = static_cast<int>(pos_) + 1;
    last_ = static_cast<int>(pos_ + cols.size());
    size_t i = 0, run = 0;
    for (; i < cols.size() && cols[i] != ','; ++i) {
        if (cols[i] == '\x1a') fail(unit_, IoError::CtrlZInField, where());
        if (blank(cols[i])) {
            if (i > run) text.append(cols.data() + run, i - run);
            run = i + 1;
        }
    }
    if (i > run) text.append(cols.data() + run, i - run);
    cols_ = cols.substr(0, i);
    pos_ += i < cols.size() ? i + 1 : i;
    return text;
}

double FieldReader::F(int w, int d) {
    std::string text = field(w);
    if (text.empty()) return 0.0;
    double v;
    if (!parse_number(text, v, d)) fail_field("a decimal number");
    return v;
}

std::int32_t FieldReader::I(int w) {
    std::string text = field(w);
    size_t i = 0;
    bool neg = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
    if (i == text.size() && i > 0) fail_field("a whole number");
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9') fail_field("a whole number");
        v = v * 10 + (c - '0');
        if (v > 2147483647) fail_field("a whole number of at most 10 digits");
    }
    return static_cast<std::int32_t>(neg ? -v : v);
}

}  // namespace core
