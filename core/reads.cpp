#include "reads.h"

#include "numtext.h"
#include "runend.h"
#include "units.h"

namespace core {

namespace {

constexpr size_t kValueBuffer = 260;  // the longest free-form value accepted

bool blank(char c) { return c == ' ' || c == '\t'; }
bool ends_value(char c) { return c == ' ' || c == '\t' || c == ',' || c == '/'; }

[[noreturn]] void fail(int unit, IoError e) { io_failure(IoOp::Read, unit_name(unit), e); }

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
    if (token.size() > kValueBuffer) fail(unit, IoError::ValueTooLong);

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
            fail(unit, IoError::BadRepeatCount);
        if (token.empty()) return;  // r* alone: null values
    }
    double v;
    if (!parse_number(token, v)) fail(unit, IoError::InvalidNumber);
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

FieldReader::FieldReader(int unit) : unit_(unit), rec_(read_record(unit)) {}

void FieldReader::next_record() {
    rec_ = read_record(unit_);
    pos_ = 0;
}

void FieldReader::X(int n) { pos_ += static_cast<size_t>(n); }

std::string FieldReader::field(int w) {
    std::string text;
    if (w <= 0 || pos_ >= rec_.size()) return text;
    // The field's columns up to a comma (used up with the field) or the record end; the
    // runs of characters between blanks are joined.
    const std::string_view cols = rec_.substr(pos_, static_cast<size_t>(w));
    size_t i = 0, run = 0;
    for (; i < cols.size() && cols[i] != ','; ++i) {
        if (cols[i] == '\x1a') fail(unit_, IoError::CtrlZInField);
        if (blank(cols[i])) {
            if (i > run) text.append(cols.data() + run, i - run);
            run = i + 1;
        }
    }
    if (i > run) text.append(cols.data() + run, i - run);
    pos_ += i < cols.size() ? i + 1 : i;
    return text;
}

double FieldReader::F(int w, int d) {
    std::string text = field(w);
    if (text.empty()) return 0.0;
    double v;
    if (!parse_number(text, v, d)) fail(unit_, IoError::InvalidNumber);
    return v;
}

std::int32_t FieldReader::I(int w) {
    std::string text = field(w);
    size_t i = 0;
    bool neg = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
    if (i == text.size() && i > 0) fail(unit_, IoError::InvalidNumber);
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9') fail(unit_, IoError::InvalidNumber);
        v = v * 10 + (c - '0');
        if (v > 2147483647) fail(unit_, IoError::InvalidNumber);
    }
    return static_cast<std::int32_t>(neg ? -v : v);
}

}  // namespace core
