#include "tp.h"

namespace tp {

void PRTOUT() {}

}  // namespace tp
