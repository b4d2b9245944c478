// winmm: the multimedia timer and the wave format record.
#pragma once

#include "win/base.h"

DWORD WINAPI timeGetTime(void);

#define WAVE_FORMAT_PCM 1

// A wave format as it lies in a WAVE file's format chunk: byte-packed, 18
// bytes, so that it can be read in place from the file image.
#pragma pack(push, 1)
typedef struct tWAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
} WAVEFORMATEX, *LPWAVEFORMATEX;
#pragma pack(pop)
typedef const WAVEFORMATEX* LPCWAVEFORMATEX;

static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX is byte-packed");
