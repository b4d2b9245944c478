// winmm: the multimedia timer.
#pragma once

#include "win/base.h"

DWORD WINAPI timeGetTime(void);
