#include "runend.h"
#include "tp.h"

int main() {
    return core::run_process(tp::ZORVATH);
}
