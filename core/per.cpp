#include "routines.h"

namespace core {

void PER() {}

}  // namespace core
