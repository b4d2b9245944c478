// user32 and gdi32: window classes, windows, messages, controls, painting.
#pragma once

#include "base.h"
