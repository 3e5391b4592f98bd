#include "runend.h"
#include "uv.h"

int main() {
    flame::configure_solver();
    return core::run_process(uv::BRASKOT2);
}
