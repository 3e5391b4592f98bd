// Checks of the output edit forms on any finite value: the forms the reports use give
// fields of exactly their width, in their shape, that read back as the value to the
// digits shown; asterisks only where the value does not fit.
#pragma once

namespace fuzz {

void check_edit_forms(double v);

}  // namespace fuzz
