// The solvers' read statements: free-form numbers, text fields, fixed-column fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// Free-form read of one number from the next unread record(s) of a unit.
// Blank records are skipped; the value is the first token (ending at a blank, tab,
// comma, slash or the record end); the rest of its record is skipped. A leading comma
// (a null value) or a slash leaves the item as it was. r*v gives v, r* a null value.
// Values longer than 260 characters, bad repeat counts and invalid numbers end the run,
// and so does a number followed directly by a comma and a digit ("2200,5"): a decimal
// comma, which read as 2200 would be a wrong value ("8,carbon atoms" still reads 8).
void read_free(int unit, double& item);

// Aw read of a whole record into an item of L characters (A72 for a title: the first 72
// characters, blank-padded when the record is shorter; the rest of the record skipped).
std::string read_text(int unit, int w, int L);

// Fixed-column reads from one record (the read starts on the next unread record).
// A field takes up to w columns, ending early at the record end or at a comma (which it
// uses up); blanks and tabs in it are ignored and an empty field is 0.
class FieldReader {
public:
    explicit FieldReader(int unit);
    void X(int n);                 // skip n columns
    double F(int w, int d);        // d implied decimals when the field has no point
    std::int32_t I(int w);
    void next_record();            // the / of a layout

private:
    std::string field(int w);
    std::string where() const;
    [[noreturn]] void fail_field(const char* is_not) const;
    int unit_;
    std::string_view rec_;
    int line_;               // line number of the record in its file
    size_t pos_ = 0;
    int first_ = 0, last_ = 0;  // columns of the last field read
    std::string_view cols_;     // its text up to the comma that ended it
};

}  // namespace core
