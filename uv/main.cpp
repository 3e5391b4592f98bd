#include <csignal>

#include "runend.h"
#include "uv.h"

int main() {
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);  // a closed console pipe drops the write, not the run
#endif
    uv::configure_solver();
    return core::run_process(uv::BRASKOT2);
}
