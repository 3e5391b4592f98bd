#include "state.h"

#include <vector>

namespace core {

GGCNTL_t GGCNTL;
FUEL_t FUEL;
DDCON_t DDCON;
DDAIR_t DDAIR;
BLOC_t BLOC;
DDATA_t DDATA;
TAB_t TAB;
PROP_t PROP;

namespace {
std::vector<void (*)()>& resets() {
    static std::vector<void (*)()> list;
    return list;
}
}  // namespace

RunStateReset::RunStateReset(void (*fn)()) { resets().push_back(fn); }

void reset_run_state() {
    GGCNTL = {};
    FUEL = {};
    DDCON = {};
    DDAIR = {};
    BLOC = {};
    DDATA = {};
    TAB = {};
    PROP = {};
    for (auto fn : resets()) fn();
}

}  // namespace core
