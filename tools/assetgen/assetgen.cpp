// Asset generator: writes the demo's pictures, explosion sound and icon into
// a folder. Deterministic: a fixed-seed generator, no time stamps, so every
// run produces the same bytes.
//
// Usage: assetgen OUTPUT_FOLDER
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

const double Pi = 3.14159265358979323846;

// xorshift64*: small, fast and identical everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint32_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return static_cast<uint32_t>((state_ * 0x2545F4914F6CDD1DULL) >> 32);
    }
    // Uniform in [0, 1).
    double Unit() { return Next() / 4294967296.0; }
    // Uniform in [-1, 1).
    double Signed() { return Unit() * 2.0 - 1.0; }

private:
    uint64_t state_;
};

double Clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }
uint8_t Byte(double v) { return static_cast<uint8_t>(std::lround(std::min(255.0, std::max(0.0, v)))); }
double Smooth(double t) { return t * t * (3.0 - 2.0 * t); }
double Mix(double a, double b, double t) { return a + (b - a) * t; }

// Value noise on a lattice of `cells` by `cells` that wraps around, sampled
// at (u, v) in [0, 1): periodic with period 1 in both directions.
class TiledNoise {
public:
    TiledNoise(int cells, Random& random) : cells_(cells), values_(static_cast<size_t>(cells * cells)) {
        for (double& value : values_) value = random.Signed();
    }
    double At(double u, double v) const {
        const double x = u * cells_, y = v * cells_;
        const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
        const double fx = Smooth(x - x0), fy = Smooth(y - y0);
        const double top = Mix(Cell(x0, y0), Cell(x0 + 1, y0), fx);
        const double bottom = Mix(Cell(x0, y0 + 1), Cell(x0 + 1, y0 + 1), fx);
        return Mix(top, bottom, fy);
    }

private:
    double Cell(int x, int y) const {
        x = ((x % cells_) + cells_) % cells_;
        y = ((y % cells_) + cells_) % cells_;
        return values_[static_cast<size_t>(y * cells_ + x)];
    }
    int cells_;
    std::vector<double> values_;
};

// Sum of octaves of tiled noise, roughly in [-1, 1].
class Fractal {
public:
    Fractal(int firstCells, int octaves, Random& random) {
        for (int i = 0, cells = firstCells; i < octaves; ++i, cells *= 2) layers_.emplace_back(cells, random);
    }
    double At(double u, double v) const {
        double sum = 0.0, amplitude = 1.0, total = 0.0;
        for (const TiledNoise& layer : layers_) {
            sum += layer.At(u, v) * amplitude;
            total += amplitude;
            amplitude *= 0.55;
        }
        return sum / total;
    }

private:
    std::vector<TiledNoise> layers_;
};

struct Picture {
    int width, height, channels;  // channels 3 (RGB) or 4 (RGBA)
    std::vector<uint8_t> bytes;
    Picture(int w, int h, int c) : width(w), height(h), channels(c), bytes(static_cast<size_t>(w * h * c)) {}
    uint8_t* At(int x, int y) { return &bytes[static_cast<size_t>((y * width + x) * channels)]; }
};

bool WritePng(const std::string& path, const Picture& picture) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height), 8,
                 picture.channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y)
        png_write_row(png, &picture.bytes[static_cast<size_t>(y * picture.width * picture.channels)]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// Dark olive-green ground, periodic in both directions so that it tiles:
// tiled noise octaves plus whole-period sines, and a little per-pixel grain.
Picture Ground() {
    const int size = 256;
    Picture picture(size, size, 3);
    Random random(0x6752'6f75'6e64ULL);
    const Fractal patches(4, 6, random);
    const Fractal tint(2, 3, random);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = static_cast<double>(x) / size, v = static_cast<double>(y) / size;
            const double ridges = 0.5 * std::sin(2 * Pi * (3 * u + 2 * v)) * std::sin(2 * Pi * (u - 4 * v));
            const double shade = 1.0 + 0.45 * patches.At(u, v) + 0.08 * ridges + 0.05 * random.Signed();
            const double warm = 0.5 + 0.5 * tint.At(u, v);  // brownish where high, greener where low
            uint8_t* pixel = picture.At(x, y);
            pixel[0] = Byte(shade * Mix(66, 84, warm));
            pixel[1] = Byte(shade * Mix(82, 76, warm));
            pixel[2] = Byte(shade * Mix(34, 36, warm));
        }
    }
    return picture;
}

// Distance of pixel (x, y)'s centre from the centre of a 64 by 64 picture,
// in units of half the picture's side.
double Radius(int x, int y) { return std::hypot(x + 0.5 - 32.0, y + 0.5 - 32.0) / 32.0; }
double Angle(int x, int y) { return std::atan2(y + 0.5 - 32.0, x + 0.5 - 32.0); }

// Grey smoke cloud: soft round puff broken up by noise. Alpha peaks at
// exactly 194; fully transparent pixels are black.
Picture Smoke() {
    Picture picture(64, 64, 4);
    Random random(0x736d6f6b65ULL);
    const Fractal noise(4, 4, random);
    std::vector<double> density(64 * 64);
    double highest = 0.0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const double r = Radius(x, y) * (1.0 + 0.25 * noise.At(x / 64.0, y / 64.0));
            const double d = Smooth(Clamp01(1.0 - r / 0.94));
            const double value = d * (0.7 + 0.3 * noise.At(x / 64.0 + 0.5, y / 64.0 + 0.5));
            density[static_cast<size_t>(y * 64 + x)] = std::max(0.0, value);
            highest = std::max(highest, value);
        }
    }
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const double d = density[static_cast<size_t>(y * 64 + x)] / highest;
            uint8_t* pixel = picture.At(x, y);
            pixel[3] = Byte(194.0 * d);
            const uint8_t grey = pixel[3] == 0 ? 0 : Byte(118 + 70 * d + 14 * noise.At(x / 32.0, y / 32.0));
            pixel[0] = pixel[1] = pixel[2] = grey;
        }
    }
    return picture;
}

// Glow: white-hot centre, through yellow and orange to red and black edges.
// Every pixel is opaque.
Picture Fire() {
    Picture picture(64, 64, 4);
    Random random(0x66697265ULL);
    const Fractal flicker(4, 3, random);
    struct Stop {
        double at, r, g, b;
    };
    const Stop stops[] = {{0.00, 255, 255, 250}, {0.12, 255, 246, 200}, {0.30, 255, 200, 70},
                          {0.50, 250, 130, 20},  {0.70, 170, 50, 8},    {0.86, 50, 10, 2},
                          {0.96, 0, 0, 0}};
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const double r = Radius(x, y);
            const double t = Clamp01(r * (1.0 + 0.08 * flicker.At(x / 64.0, y / 64.0) * Clamp01(r * 3.0)));
            size_t i = 0;
            while (i + 2 < std::size(stops) && t > stops[i + 1].at) ++i;
            const Stop& a = stops[i];
            const Stop& b = stops[i + 1];
            const double f = Clamp01((t - a.at) / (b.at - a.at));
            uint8_t* pixel = picture.At(x, y);
            pixel[0] = Byte(Mix(a.r, b.r, f));
            pixel[1] = Byte(Mix(a.g, b.g, f));
            pixel[2] = Byte(Mix(a.b, b.b, f));
            pixel[3] = 255;
        }
    }
    return picture;
}

// Brown star-shaped burn mark fading to white, the colour that leaves the
// ground unchanged when multiplied; fully transparent pixels are white.
Picture Scorch() {
    Picture picture(64, 64, 4);
    Random random(0x73636f726368ULL);
    const int points = 9;
    double reach[points];  // how far each point of the star reaches
    for (double& value : reach) value = 0.78 + 0.18 * random.Unit();
    const Fractal grain(8, 3, random);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const double a = Angle(x, y) / (2 * Pi) * points + points;  // in [0, 2 points)
            const int k = static_cast<int>(std::floor(a)) % points;
            const double f = a - std::floor(a);
            const double spike = std::pow(std::fabs(std::cos(Pi * (f - 0.5))), 2.5) *
                                 Mix(reach[k], reach[(k + 1) % points], Smooth(f));  // 0 between points
            const double edge = 0.42 + spike * 0.55 + 0.05 * grain.At(x / 64.0, y / 64.0);
            const double s = Clamp01(1.0 - Radius(x, y) / edge);
            const double burn = Clamp01(std::pow(Clamp01(s * 1.6), 0.7) * (1.0 + 0.12 * grain.At(x / 32.0, y / 32.0)));
            uint8_t* pixel = picture.At(x, y);
            pixel[3] = Byte(255.0 * Clamp01(burn * 3.0));
            if (pixel[3] == 0) {
                pixel[0] = pixel[1] = pixel[2] = 255;
            } else {
                pixel[0] = Byte(Mix(255, 88, burn));
                pixel[1] = Byte(Mix(255, 56, burn));
                pixel[2] = Byte(Mix(255, 30, burn));
            }
        }
    }
    return picture;
}

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}
void PutId(std::vector<uint8_t>& out, const char* id) { out.insert(out.end(), id, id + 4); }

// An INFO list chunk entry: id, size, text with its terminating zero, padded
// with zeros to `size` bytes (an even number).
void PutInfo(std::vector<uint8_t>& out, const char* id, const char* text, uint32_t size) {
    PutId(out, id);
    Put32(out, size);
    std::vector<uint8_t> bytes(size, 0);
    std::memcpy(bytes.data(), text, std::min<size_t>(std::strlen(text), size - 1));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// The explosion: a noise burst with a fast attack and exponential decay,
// low-passed ever more strongly as it fades, over a low falling thump.
// PCM mono, 22050 Hz, 16 bits; a LIST chunk follows the samples.
std::vector<uint8_t> Explosion() {
    const int rate = 22050;
    const int count = 87682 / 2;
    Random random(0x626f6f6dULL);
    std::vector<double> samples(count);
    double low1 = 0.0, low2 = 0.0, rumble = 0.0, phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double attack = Clamp01(t / 0.004);
        // Noise, low-passed twice with a cut-off falling from about 4 kHz.
        const double cutoff = 300.0 + 3700.0 * std::exp(-t / 0.12);
        const double k = 1.0 - std::exp(-2 * Pi * cutoff / rate);
        low1 += k * (random.Signed() - low1);
        low2 += k * (low1 - low2);
        // Slow rumble: the noise low-passed at about 120 Hz.
        rumble += (1.0 - std::exp(-2 * Pi * 120.0 / rate)) * (low1 - rumble);
        const double burst = low2 * (0.85 * std::exp(-t / 0.09) + 0.25 * std::exp(-t / 0.45));
        // Thump: a sine falling from 95 Hz to 38 Hz.
        phase += 2 * Pi * (38.0 + 57.0 * std::exp(-t / 0.08)) / rate;
        const double thump = std::sin(phase) * std::exp(-t / 0.16);
        const double tail = std::min(1.0, (count - 1 - i) / (0.05 * rate));  // ends silent, no click
        samples[static_cast<size_t>(i)] = attack * tail * (1.6 * burst + 0.55 * thump + 2.5 * rumble * std::exp(-t / 0.5));
    }
    double peak = 0.0;
    for (double s : samples) peak = std::max(peak, std::fabs(s));

    std::vector<uint8_t> list;
    PutId(list, "INFO");
    PutInfo(list, "INAM", "Explosion", 10);
    PutInfo(list, "ISFT", "Explosion demo asset generator", 44);

    std::vector<uint8_t> out;
    const uint32_t dataBytes = static_cast<uint32_t>(count * 2);
    const uint32_t total = 12 + (8 + 16) + (8 + dataBytes) + (8 + static_cast<uint32_t>(list.size()));
    PutId(out, "RIFF");
    Put32(out, total - 8);
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);         // PCM
    Put16(out, 1);         // mono
    Put32(out, rate);      // samples per second
    Put32(out, rate * 2);  // bytes per second
    Put16(out, 2);         // block alignment
    Put16(out, 16);        // bits per sample
    PutId(out, "data");
    Put32(out, dataBytes);
    for (double s : samples) Put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(s / peak * 29000.0))));
    PutId(out, "LIST");
    Put32(out, static_cast<uint32_t>(list.size()));
    out.insert(out.end(), list.begin(), list.end());
    return out;
}

// Program icon: 32 by 32 pixels in 16 colours, one 4-bit BMP image with its
// transparency mask. A burst of flame on a transparent background.
std::vector<uint8_t> Icon() {
    const uint8_t palette[16][3] = {
        {0, 0, 0},       {40, 16, 8},    {96, 24, 8},    {160, 32, 8},   {208, 56, 8},   {240, 96, 16},
        {248, 144, 24},  {252, 192, 48}, {255, 230, 110}, {255, 255, 220}, {255, 255, 255}, {64, 64, 64},
        {112, 112, 112}, {160, 160, 160}, {56, 72, 32},  {88, 104, 48},
    };
    uint8_t index[32][32];
    bool opaque[32][32];
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const double dx = x + 0.5 - 16.0, dy = y + 0.5 - 16.0;
            const double r = std::hypot(dx, dy) / 16.0;
            const double a = std::atan2(dy, dx);
            const double edge = 0.62 + 0.33 * std::pow(std::fabs(std::cos(a * 4.0)), 3.0);  // eight points
            const double t = r / edge;
            opaque[y][x] = t < 1.0;
            // Colours 9 (white-hot) down to 2 (dark red) from the centre out.
            index[y][x] = opaque[y][x] ? static_cast<uint8_t>(9 - std::min(7, static_cast<int>(t * 8.0))) : 0;
        }
    }
    const uint32_t rowBytes = 16, maskRowBytes = 4;
    const uint32_t imageBytes = 40 + 16 * 4 + 32 * rowBytes + 32 * maskRowBytes;
    std::vector<uint8_t> out;
    // Icon directory with one entry.
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, 1);  // one image
    out.push_back(32);
    out.push_back(32);
    out.push_back(16);  // colours
    out.push_back(0);
    Put16(out, 1);  // planes
    Put16(out, 4);  // bits per pixel
    Put32(out, imageBytes);
    Put32(out, 6 + 16);
    // BITMAPINFOHEADER: the height counts the colour image and the mask.
    Put32(out, 40);
    Put32(out, 32);
    Put32(out, 64);
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);  // uncompressed
    Put32(out, 32 * rowBytes + 32 * maskRowBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 16);
    Put32(out, 0);
    for (const auto& colour : palette) {
        out.push_back(colour[2]);
        out.push_back(colour[1]);
        out.push_back(colour[0]);
        out.push_back(0);
    }
    // Rows bottom-up: colour image, then the mask (1 = transparent).
    for (int y = 31; y >= 0; --y)
        for (int x = 0; x < 32; x += 2) out.push_back(static_cast<uint8_t>(index[y][x] << 4 | index[y][x + 1]));
    for (int y = 31; y >= 0; --y) {
        for (int x = 0; x < 32; x += 8) {
            uint8_t bits = 0;
            for (int b = 0; b < 8; ++b)
                if (!opaque[y][x + b]) bits = static_cast<uint8_t>(bits | (0x80 >> b));
            out.push_back(bits);
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const bool written = WritePng(folder + "ground.png", Ground()) && WritePng(folder + "smoke.png", Smoke()) &&
                         WritePng(folder + "fire.png", Fire()) && WritePng(folder + "scorch.png", Scorch()) &&
                         WriteFile(folder + "explosion.wav", Explosion()) &&
                         WriteFile(folder + "explosion.ico", Icon());
    if (!written) {
        std::fprintf(stderr, "assetgen: cannot write the assets into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
