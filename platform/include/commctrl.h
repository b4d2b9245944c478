// comctl32: common controls.
#pragma once

#include <windows.h>

void WINAPI InitCommonControls(void);
