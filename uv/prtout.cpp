#include "report.h"
#include "state.h"
#include "uv.h"

namespace uv {

// The results section of OUTPUT.UV: the shared section headed by the flame
// temperature and pressure of the last correction.
void PRTOUT() {
    const core::ResultLine head[] = {
        {"Const-vol Flame Temperature [K] =    ", core::BLOC.T, 'F', 10, 2},
        {"Pressure [Pa] =                      ", core::BLOC.P, 'E', 13, 6},
    };
    core::write_results("FLAME TEMP. & COMBUSTION PRODUCTS PROPERTIES", head);
}

}  // namespace uv
