// Basic Win32 types and macros for the native platform.
//
// Sizes follow 32-bit Windows where the system code depends on them:
// LONG, DWORD, UINT and BOOL are 32-bit; handles, WPARAM, LPARAM and the
// *_PTR types are pointer-sized.
#pragma once

#include <cstddef>
#include <cstdint>

// Calling conventions have no meaning on the native target.
#define WINAPI
#define CALLBACK
#define APIENTRY
#define STDMETHODCALLTYPE
#define CONST const
#define VOID void

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int32_t INT;
typedef uint32_t UINT;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef char CHAR;
typedef unsigned char UCHAR;
typedef float FLOAT;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef size_t SIZE_T;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef LONG HRESULT;
typedef WORD ATOM;

typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef BOOL* LPBOOL;

typedef void* HANDLE;
typedef HANDLE* LPHANDLE;

// Distinct handle types, so that passing one kind of handle where another is
// expected does not compile.
#define PLATFORM_HANDLE(name) \
    struct name##__ {         \
        int unused;           \
    };                        \
    typedef struct name##__* name

PLATFORM_HANDLE(HINSTANCE);
typedef HINSTANCE HMODULE;
PLATFORM_HANDLE(HWND);
PLATFORM_HANDLE(HMENU);
PLATFORM_HANDLE(HICON);
typedef HICON HCURSOR;
PLATFORM_HANDLE(HBRUSH);
PLATFORM_HANDLE(HFONT);
PLATFORM_HANDLE(HDC);
PLATFORM_HANDLE(HACCEL);
PLATFORM_HANDLE(HMONITOR);
PLATFORM_HANDLE(HRGN);
PLATFORM_HANDLE(HBITMAP);
PLATFORM_HANDLE(HPEN);
typedef void* HGDIOBJ;

typedef LONG_PTR (*FARPROC)();

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define MAX_PATH 260

#define MAKEWORD(lo, hi) ((WORD)(((BYTE)((DWORD_PTR)(lo) & 0xff)) | ((WORD)((BYTE)((DWORD_PTR)(hi) & 0xff))) << 8))
#define MAKELONG(lo, hi) ((LONG)(((WORD)((DWORD_PTR)(lo) & 0xffff)) | ((DWORD)((WORD)((DWORD_PTR)(hi) & 0xffff))) << 16))
#define LOWORD(l) ((WORD)((DWORD_PTR)(l) & 0xffff))
#define HIWORD(l) ((WORD)(((DWORD_PTR)(l) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)((DWORD_PTR)(w) & 0xff))
#define HIBYTE(w) ((BYTE)(((DWORD_PTR)(w) >> 8) & 0xff))

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *LPPOINT;

typedef struct tagSIZE {
    LONG cx;
    LONG cy;
} SIZE, *LPSIZE;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct _GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID, IID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef GUID* LPGUID;
typedef const GUID* LPCGUID;

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

// The base of every COM interface the platform hands out.
struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};
typedef IUnknown* LPUNKNOWN;
