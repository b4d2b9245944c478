// PNG files made in memory and a plain host window, for the graphics tests
// and the benchmark.
#include "graphics_files.h"

#include <algorithm>
#include <cstring>

namespace {

uint32_t Crc(const uint8_t* data, size_t size, uint32_t crc = 0xffffffffu) {
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return crc;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    Put32(out, static_cast<uint32_t>(body.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    Put32(out, Crc(typed.data(), typed.size()) ^ 0xffffffffu);
}

}  // namespace

std::vector<uint8_t> MakePng(int width, int height, const std::vector<uint32_t>& pixels, bool alpha) {
    std::vector<uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no row filter
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            raw.push_back(static_cast<uint8_t>(p >> 16));
            raw.push_back(static_cast<uint8_t>(p >> 8));
            raw.push_back(static_cast<uint8_t>(p));
            if (alpha) raw.push_back(static_cast<uint8_t>(p >> 24));
        }
    }
    // zlib stream of stored deflate blocks.
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t at = 0;
    do {
        size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.push_back(static_cast<uint8_t>(n));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n));
        z.push_back(static_cast<uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    Put32(z, (b << 16) | a);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
    std::vector<uint8_t> header;
    Put32(header, static_cast<uint32_t>(width));
    Put32(header, static_cast<uint32_t>(height));
    header.push_back(8);
    header.push_back(alpha ? 6 : 2);
    header.push_back(0);
    header.push_back(0);
    header.push_back(0);
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    return png;
}

std::vector<uint8_t> SolidPng(int width, int height, uint32_t argb, bool alpha) {
    return MakePng(width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, argb), alpha);
}

namespace {
const char kHostClass[] = "GraphicsTestHost";
}

HWND CreateHostWindow(int clientWidth, int clientHeight) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass;
        std::memset(&windowClass, 0, sizeof windowClass);
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kHostClass;
        registered = RegisterClassA(&windowClass) != 0;
    }
    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowExA(0, kHostClass, "graphics test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void DestroyHostWindow(HWND window) {
    if (window) DestroyWindow(window);
}

