// wvsprintfA and wsprintfA: the wsprintf format language, at most 1024
// characters of output; "l" means 32 bits as on Windows.
#include <cstdio>
#include <cstring>
#include <string>

#include <windows.h>

int WINAPI wvsprintfA(LPSTR buffer, LPCSTR format, va_list arguments) {
    if (buffer == nullptr || format == nullptr) return 0;
    std::string out;
    for (const char* p = format; *p && out.size() < 1024; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        ++p;
        if (*p == '%') {
            out += '%';
            continue;
        }
        std::string flags;
        while (*p == '-' || *p == '#' || *p == '0') flags += *p++;
        std::string width;
        while (*p >= '0' && *p <= '9') width += *p++;
        std::string precision;
        if (*p == '.') {
            precision += *p++;
            while (*p >= '0' && *p <= '9') precision += *p++;
        }
        if (*p == 'l' || *p == 'h') ++p;
        char piece[1100];
        const std::string conversion = "%" + flags + width + precision;
        switch (*p) {
            case 'd':
            case 'i': std::snprintf(piece, sizeof piece, (conversion + "d").c_str(), static_cast<int32_t>(va_arg(arguments, int))); break;
            case 'u': std::snprintf(piece, sizeof piece, (conversion + "u").c_str(), static_cast<uint32_t>(va_arg(arguments, unsigned))); break;
            case 'x': std::snprintf(piece, sizeof piece, (conversion + "x").c_str(), static_cast<uint32_t>(va_arg(arguments, unsigned))); break;
            case 'X': std::snprintf(piece, sizeof piece, (conversion + "X").c_str(), static_cast<uint32_t>(va_arg(arguments, unsigned))); break;
            case 'c': std::snprintf(piece, sizeof piece, (conversion + "c").c_str(), va_arg(arguments, int)); break;
            case 's': {
                const char* s = va_arg(arguments, const char*);
                std::snprintf(piece, sizeof piece, (conversion + "s").c_str(), s ? s : "(null)");
                break;
            }
            case '\0': --p; piece[0] = '\0'; break;
            default: piece[0] = *p; piece[1] = '\0'; break;
        }
        out += piece;
    }
    if (out.size() > 1024) out.resize(1024);
    std::memcpy(buffer, out.c_str(), out.size() + 1);
    return static_cast<int>(out.size());
}

int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int n = wvsprintfA(buffer, format, arguments);
    va_end(arguments);
    return n;
}
