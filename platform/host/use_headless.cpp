// Linked into test programs: every window lives on the virtual screen.
#include "host/host.h"

namespace {
struct ChooseHeadless {
    ChooseHeadless() { host::UseHeadless(); }
} chooseHeadless;
}  // namespace
