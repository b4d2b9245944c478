// The native platform's Win32 declarations: the subset that the system uses.
#pragma once

#include "win/base.h"
#include "win/kernel32.h"
#include "win/user32.h"
#include "win/gdi32.h"
