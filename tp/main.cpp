#include <csignal>

#include "runend.h"
#include "tp.h"

int main() {
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);  // a closed console pipe drops the write, not the run
#endif
    return core::run_process(tp::ZORVATH);
}
