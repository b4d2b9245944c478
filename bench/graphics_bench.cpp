// A frame's worth of drawing through the graphics layer: the nine ground
// tiles, then N particles of the demo's kinds with their blend factors and
// sizes, then the flip. Prints ms per frame and ns per drawn pixel.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "demo/particle.h"
#include "graphics/graphics.h"
#include "layer/graphics_files.h"

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 580;

// A soft round 64 by 64 particle picture with alpha falling to the rim.
std::vector<uint8_t> ParticlePng(uint32_t rgb) {
    std::vector<uint32_t> pixels(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            double d = std::hypot(x - 31.5, y - 31.5) / 32.0;
            int a = d >= 1 ? 0 : static_cast<int>(255 * (1 - d));
            pixels[y * 64 + x] = (static_cast<uint32_t>(a) << 24) | rgb;
        }
    return MakePng(64, 64, pixels, true);
}

// One explosion's particles, in the recipe's proportions: a scorch mark,
// then eleven groups of a large and a small fireball, two smoke puffs and a
// spark with two trail-smoke puffs.
std::vector<ParticleBody> Kinds(QuadImage* smoke, QuadImage* fire, QuadImage* scorch) {
    std::vector<ParticleBody> kinds;
    auto add = [&](QuadImage* image, int32_t source, int32_t dest, int32_t size, int32_t alpha) {
        ParticleBody body = {};
        body.image = image;
        body.blendSource = source;
        body.blendDest = dest;
        body.width = body.height = size;
        body.alpha = alpha;
        kinds.push_back(body);
    };
    add(scorch, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, 64, 0);
    for (int group = 0; group <= 10; ++group) {
        add(fire, D3DBLEND_SRCCOLOR, D3DBLEND_ONE, 64, 0);
        add(fire, D3DBLEND_SRCCOLOR, D3DBLEND_ONE, 32, 0);
        add(smoke, D3DBLEND_INVDESTALPHA, D3DBLEND_INVSRCALPHA, 64, 200);
        add(smoke, D3DBLEND_INVDESTALPHA, D3DBLEND_INVSRCALPHA, 64, 200);
        add(fire, D3DBLEND_SRCCOLOR, D3DBLEND_ONE, 16, 60);
        add(smoke, D3DBLEND_INVDESTALPHA, D3DBLEND_INVSRCALPHA, 16, 200);
        add(smoke, D3DBLEND_INVDESTALPHA, D3DBLEND_INVSRCALPHA, 16, 200);
    }
    return kinds;
}

}  // namespace

int main() {
    HWND window = CreateHostWindow(kWidth, kHeight);
    if (!window || !GraphicsInit() || !ScreenOpen(kWidth, kHeight, 0, window, 0x282)) {
        std::printf("graphics_bench: no graphics device\n");
        GraphicsShutdown();
        return 1;
    }
    std::vector<uint8_t> groundPng = SolidPng(256, 256, 0xff6a5a40u, false);
    std::vector<uint8_t> smokePng = ParticlePng(0x808080), firePng = ParticlePng(0xffa040),
                         scorchPng = ParticlePng(0x604020);
    BlitImage* ground = BlitImageCatch(groundPng.data(), static_cast<int32_t>(groundPng.size()));
    QuadImage* smoke = QuadImageCatch(smokePng.data(), static_cast<int32_t>(smokePng.size()));
    QuadImage* fire = QuadImageCatch(firePng.data(), static_cast<int32_t>(firePng.size()));
    QuadImage* scorch = QuadImageCatch(scorchPng.data(), static_cast<int32_t>(scorchPng.size()));
    if (!ground || !smoke || !fire || !scorch) {
        std::printf("graphics_bench: images could not be made\n");
        GraphicsShutdown();
        return 1;
    }
    const std::vector<ParticleBody> kinds = Kinds(smoke, fire, scorch);

    std::printf("%-8s %10s %12s %14s\n", "N", "ms/frame", "Mpixel/frame", "ns/pixel");
    for (int count : {1000, 10000, 100000}) {
        // Particles spread over the surface with a fixed pattern, all inside.
        std::vector<ParticleBody> particles(static_cast<size_t>(count));
        uint32_t seed = 12345;
        double pixels = static_cast<double>(kWidth) * kHeight;
        for (int i = 0; i < count; ++i) {
            ParticleBody& body = particles[static_cast<size_t>(i)];
            body = kinds[static_cast<size_t>(i) % kinds.size()];
            seed = seed * 1103515245u + 12345u;
            body.x = static_cast<float>((seed >> 8) % (kWidth - 64));
            seed = seed * 1103515245u + 12345u;
            body.y = static_cast<float>((seed >> 8) % (kHeight - 64));
            body.rotation = static_cast<int32_t>((seed >> 4) % 359);
            pixels += static_cast<double>(body.width) * body.height;
        }
        const int frames = count >= 100000 ? 3 : (count >= 10000 ? 10 : 50);
        auto start = std::chrono::steady_clock::now();
        for (int frame = 0; frame < frames; ++frame) {
            for (int y = 0; y < kHeight; y += BlitImageHeight(ground))
                for (int x = 0; x < kWidth; x += BlitImageWidth(ground)) BlitImageDraw(ground, x, y);
            QuadPassBegin();
            for (ParticleBody& body : particles) ParticleDraw(&body);
            QuadPassEnd();
            ScreenFlip();
        }
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        double perFrame = seconds / frames;
        std::printf("%-8d %10.2f %12.2f %14.2f\n", count, perFrame * 1e3, pixels / 1e6, perFrame * 1e9 / pixels);
        std::fflush(stdout);
    }
    GraphicsShutdown();
    DestroyHostWindow(window);
    return 0;
}
