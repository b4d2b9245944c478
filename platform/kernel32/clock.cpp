// Millisecond clocks. Both read one monotonic clock; tests may replace it
// with a virtual clock that only moves when told to.
#include <mmsystem.h>
#include <windows.h>

#include <atomic>
#include <ctime>

namespace {

std::atomic<bool> virtualClockOn{false};
std::atomic<DWORD> virtualClockNow{0};

DWORD MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(ms);  // wraps modulo 2^32 like the real tick count
}

DWORD Now() { return virtualClockOn.load() ? virtualClockNow.load() : MonotonicMilliseconds(); }

}  // namespace

DWORD WINAPI GetTickCount(void) { return Now(); }

DWORD WINAPI timeGetTime(void) { return Now(); }

void PlatformClockUseVirtual(DWORD start) {
    virtualClockNow.store(start);
    virtualClockOn.store(true);
}

void PlatformClockSet(DWORD now) { virtualClockNow.store(now); }

void PlatformClockAdvance(DWORD milliseconds) { virtualClockNow.fetch_add(milliseconds); }

void PlatformClockUseReal() { virtualClockOn.store(false); }

bool PlatformClockIsVirtual() { return virtualClockOn.load(); }
