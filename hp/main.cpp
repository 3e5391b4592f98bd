#include "hp.h"
#include "runend.h"

int main() {
    flame::configure_solver();
    return core::run_process(hp::QUELLIN);
}
