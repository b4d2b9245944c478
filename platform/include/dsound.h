// DirectSound: the device and its secondary buffers.
#pragma once

#include "mmsystem.h"
#include "windows.h"

#define MAKE_DSHRESULT(code) ((HRESULT)(0x88780000L | (code)))

#define DS_OK S_OK
#define DSERR_ALLOCATED MAKE_DSHRESULT(10)
#define DSERR_CONTROLUNAVAIL MAKE_DSHRESULT(30)
#define DSERR_INVALIDPARAM E_INVALIDARG
#define DSERR_INVALIDCALL MAKE_DSHRESULT(50)
#define DSERR_GENERIC E_FAIL
#define DSERR_PRIOLEVELNEEDED MAKE_DSHRESULT(70)
#define DSERR_OUTOFMEMORY E_OUTOFMEMORY
#define DSERR_BADFORMAT MAKE_DSHRESULT(100)
#define DSERR_UNSUPPORTED E_NOTIMPL
#define DSERR_NODRIVER MAKE_DSHRESULT(120)
#define DSERR_NOAGGREGATION ((HRESULT)0x80040110L)
#define DSERR_NOINTERFACE E_NOINTERFACE

#define DSSCL_NORMAL 0x00000001
#define DSSCL_PRIORITY 0x00000002
#define DSSCL_EXCLUSIVE 0x00000003
#define DSSCL_WRITEPRIMARY 0x00000004

#define DSBCAPS_PRIMARYBUFFER 0x00000001
#define DSBCAPS_STATIC 0x00000002
#define DSBCAPS_LOCHARDWARE 0x00000004
#define DSBCAPS_LOCSOFTWARE 0x00000008
#define DSBCAPS_CTRL3D 0x00000010
#define DSBCAPS_CTRLFREQUENCY 0x00000020
#define DSBCAPS_CTRLPAN 0x00000040
#define DSBCAPS_CTRLVOLUME 0x00000080
#define DSBCAPS_CTRLPOSITIONNOTIFY 0x00000100
#define DSBCAPS_STICKYFOCUS 0x00004000
#define DSBCAPS_GLOBALFOCUS 0x00008000
#define DSBCAPS_GETCURRENTPOSITION2 0x00010000

#define DSBPLAY_LOOPING 0x00000001

#define DSBSTATUS_PLAYING 0x00000001
#define DSBSTATUS_BUFFERLOST 0x00000002
#define DSBSTATUS_LOOPING 0x00000004

#define DSBLOCK_FROMWRITECURSOR 0x00000001
#define DSBLOCK_ENTIREBUFFER 0x00000002

#define DSBSIZE_MIN 4
#define DSBSIZE_MAX 0x0FFFFFFF
#define DSBFREQUENCY_MIN 100
#define DSBFREQUENCY_MAX 200000

// The first form of the buffer description, which ends with the format.
typedef struct _DSBUFFERDESC1 {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
} DSBUFFERDESC1, *LPDSBUFFERDESC1;
typedef const DSBUFFERDESC1* LPCDSBUFFERDESC1;

typedef struct _DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
    GUID guid3DAlgorithm;
} DSBUFFERDESC, *LPDSBUFFERDESC;
typedef const DSBUFFERDESC* LPCDSBUFFERDESC;

typedef struct _DSBCAPS {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwUnlockTransferRate;
    DWORD dwPlayCpuOverhead;
} DSBCAPS, *LPDSBCAPS;

struct IDirectSoundBuffer : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDSBCAPS caps) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) = 0;
    virtual HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* audioPtr1, LPDWORD audioBytes1,
                                           LPVOID* audioPtr2, LPDWORD audioBytes2, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Play(DWORD reserved1, DWORD priority, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD newPosition) = 0;
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unlock(LPVOID audioPtr1, DWORD audioBytes1, LPVOID audioPtr2,
                                             DWORD audioBytes2) = 0;
};
typedef IDirectSoundBuffer* LPDIRECTSOUNDBUFFER;

struct IDirectSound : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC description, LPDIRECTSOUNDBUFFER* buffer,
                                                        LPUNKNOWN outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) = 0;
};
typedef IDirectSound* LPDIRECTSOUND;

HRESULT WINAPI DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* directSound, LPUNKNOWN outer);
