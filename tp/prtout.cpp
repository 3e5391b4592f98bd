#include "report.h"
#include "tp.h"

namespace tp {

// The results section of OUTPUT.TP: the shared section with no head lines.
void PRTOUT() { core::write_results("CALCULATED COMBUSTION PRODUCTS PROPERTIES", {}); }

}  // namespace tp
