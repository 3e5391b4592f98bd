#include "runend.h"
#include "uv.h"

int main() {
    uv::configure_solver();
    return core::run_process(uv::BRASKOT2);
}
