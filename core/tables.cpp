#include "routines.h"

namespace core {

void TABLES() {}

}  // namespace core
