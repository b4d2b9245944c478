// gdi32: stock objects, pixels and text.
#pragma once

#include "user32.h"

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

#define CLR_INVALID 0xFFFFFFFF

HGDIOBJ WINAPI GetStockObject(int index);
BOOL WINAPI DeleteObject(HGDIOBJ object);
HBRUSH WINAPI CreateSolidBrush(COLORREF color);
COLORREF WINAPI GetPixel(HDC dc, int x, int y);
