#include "common/ProcessState.h"

#include <memory>

namespace vok {

namespace {
std::unique_ptr<ProcessState> g_state;
}

ProcessState& Process() {
    if (!g_state) {
        g_state = std::make_unique<ProcessState>();
    }
    return *g_state;
}

void ResetProcess() {
    g_state = std::make_unique<ProcessState>();
}

}  // namespace vok
