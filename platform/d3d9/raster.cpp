// The rasteriser of the software device: one textured quad at a time, row
// by row, with texture stage 0, the alpha test and alpha blending.
//
// Conventions are Direct3D 9's: pixel (i, j) has its centre at (i, j); a
// pixel belongs to the quad when its centre lies inside, with the top and
// left edges inside and the bottom and right edges outside. Texel centres lie
// at half-texel positions. Filtering: the mip level nearest to the quad's
// scale (when the sampler has a mip filter), bilinear within the level when
// the sampler's filter for the scale is linear, else nearest texel.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "d3d9/internal.h"

namespace d3d9 {

namespace {

struct Colour {
    int r, g, b, a;
};

inline int Mul255(int a, int b) {
    int t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

inline Colour Unpack(uint32_t p) {
    return {static_cast<int>((p >> 16) & 0xff), static_cast<int>((p >> 8) & 0xff), static_cast<int>(p & 0xff),
            static_cast<int>(p >> 24)};
}

inline uint32_t Pack(const Colour& c) {
    return (static_cast<uint32_t>(c.a) << 24) | (static_cast<uint32_t>(c.r) << 16) |
           (static_cast<uint32_t>(c.g) << 8) | static_cast<uint32_t>(c.b);
}

inline int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// Mixes two packed pixels, weight w (0 to 256) for `b`.
inline uint32_t Lerp(uint32_t a, uint32_t b, uint32_t w) {
    uint32_t rbA = a & 0x00ff00ffu, agA = (a >> 8) & 0x00ff00ffu;
    uint32_t rbB = b & 0x00ff00ffu, agB = (b >> 8) & 0x00ff00ffu;
    uint32_t rb = ((rbA * (256 - w) + rbB * w) >> 8) & 0x00ff00ffu;
    uint32_t ag = ((agA * (256 - w) + agB * w) >> 8) & 0x00ff00ffu;
    return rb | (ag << 8);
}

// Texel addressing along one axis.
struct Axis {
    int size;
    bool wrap;
    bool powerOfTwo;
    inline int operator()(int i) const {
        if (wrap) {
            if (powerOfTwo) return i & (size - 1);
            int m = i % size;
            return m < 0 ? m + size : m;
        }
        return i < 0 ? 0 : (i >= size ? size - 1 : i);
    }
};

struct Sampler {
    const PixelStore* level = nullptr;
    Axis u{}, v{};
    bool linear = false;
    bool forceOpaque = false;

    inline uint32_t Fetch(int x, int y) const { return level->Row(static_cast<UINT>(v(y)))[u(x)]; }

    // s and t are texel coordinates in 16.16 fixed point.
    inline uint32_t Sample(int64_t s, int64_t t) const {
        uint32_t p;
        if (linear) {
            int64_t s0 = s - 32768, t0 = t - 32768;
            int x = static_cast<int>(s0 >> 16), y = static_cast<int>(t0 >> 16);
            uint32_t fx = static_cast<uint32_t>((s0 >> 8) & 0xff), fy = static_cast<uint32_t>((t0 >> 8) & 0xff);
            const uint32_t* row0 = level->Row(static_cast<UINT>(v(y)));
            const uint32_t* row1 = level->Row(static_cast<UINT>(v(y + 1)));
            const int x0 = u(x), x1 = u(x + 1);
            p = Lerp(Lerp(row0[x0], row0[x1], fx), Lerp(row1[x0], row1[x1], fx), fy);
        } else {
            p = Fetch(static_cast<int>(s >> 16), static_cast<int>(t >> 16));
        }
        return forceOpaque ? (p | 0xff000000u) : p;
    }
};

inline Colour Argument(DWORD arg, const Colour& diffuse, const Colour& texel, const Colour& factor) {
    Colour c;
    switch (arg & D3DTA_SELECTMASK) {
        case D3DTA_DIFFUSE:
        case D3DTA_CURRENT:
            c = diffuse;
            break;
        case D3DTA_TEXTURE:
            c = texel;
            break;
        case D3DTA_TFACTOR:
            c = factor;
            break;
        default:
            c = {0, 0, 0, 0};
            break;
    }
    if (arg & D3DTA_COMPLEMENT) c = {255 - c.r, 255 - c.g, 255 - c.b, 255 - c.a};
    if (arg & D3DTA_ALPHAREPLICATE) c = {c.a, c.a, c.a, c.a};
    return c;
}

inline int Operate(DWORD op, int a, int b, int fallback) {
    switch (op) {
        case D3DTOP_SELECTARG1: return a;
        case D3DTOP_SELECTARG2: return b;
        case D3DTOP_MODULATE: return Mul255(a, b);
        case D3DTOP_MODULATE2X: return Clamp255(2 * Mul255(a, b));
        case D3DTOP_MODULATE4X: return Clamp255(4 * Mul255(a, b));
        case D3DTOP_ADD: return Clamp255(a + b);
        case D3DTOP_ADDSIGNED: return Clamp255(a + b - 128);
        case D3DTOP_ADDSIGNED2X: return Clamp255(2 * (a + b - 128));
        case D3DTOP_SUBTRACT: return Clamp255(a - b);
        case D3DTOP_ADDSMOOTH: return Clamp255(a + b - Mul255(a, b));
        default: return fallback;
    }
}

inline bool AlphaPasses(DWORD func, int alpha, int ref) {
    switch (func) {
        case D3DCMP_NEVER: return false;
        case D3DCMP_LESS: return alpha < ref;
        case D3DCMP_EQUAL: return alpha == ref;
        case D3DCMP_LESSEQUAL: return alpha <= ref;
        case D3DCMP_GREATER: return alpha > ref;
        case D3DCMP_NOTEQUAL: return alpha != ref;
        case D3DCMP_GREATEREQUAL: return alpha >= ref;
        default: return true;
    }
}

// The factor of one blend operand; `dest` says which side asks, for the two
// BOTH... factors that set both sides at once.
inline Colour Factor(DWORD blend, const Colour& s, const Colour& d, const Colour& constant, bool dest) {
    switch (blend) {
        case D3DBLEND_ZERO: return {0, 0, 0, 0};
        case D3DBLEND_ONE: return {255, 255, 255, 255};
        case D3DBLEND_SRCCOLOR: return s;
        case D3DBLEND_INVSRCCOLOR: return {255 - s.r, 255 - s.g, 255 - s.b, 255 - s.a};
        case D3DBLEND_SRCALPHA: return {s.a, s.a, s.a, s.a};
        case D3DBLEND_INVSRCALPHA: return {255 - s.a, 255 - s.a, 255 - s.a, 255 - s.a};
        case D3DBLEND_DESTALPHA: return {d.a, d.a, d.a, d.a};
        case D3DBLEND_INVDESTALPHA: return {255 - d.a, 255 - d.a, 255 - d.a, 255 - d.a};
        case D3DBLEND_DESTCOLOR: return d;
        case D3DBLEND_INVDESTCOLOR: return {255 - d.r, 255 - d.g, 255 - d.b, 255 - d.a};
        case D3DBLEND_SRCALPHASAT: {
            int f = std::min(s.a, 255 - d.a);
            return {f, f, f, 255};
        }
        case D3DBLEND_BOTHSRCALPHA:
            return dest ? Colour{255 - s.a, 255 - s.a, 255 - s.a, 255 - s.a} : Colour{s.a, s.a, s.a, s.a};
        case D3DBLEND_BOTHINVSRCALPHA:
            return dest ? Colour{s.a, s.a, s.a, s.a} : Colour{255 - s.a, 255 - s.a, 255 - s.a, 255 - s.a};
        case D3DBLEND_BLENDFACTOR: return constant;
        case D3DBLEND_INVBLENDFACTOR:
            return {255 - constant.r, 255 - constant.g, 255 - constant.b, 255 - constant.a};
        default: return {255, 255, 255, 255};
    }
}

inline int BlendChannel(DWORD op, int s, int sf, int d, int df) {
    switch (op) {
        case D3DBLENDOP_SUBTRACT: return Clamp255(Mul255(s, sf) - Mul255(d, df));
        case D3DBLENDOP_REVSUBTRACT: return Clamp255(Mul255(d, df) - Mul255(s, sf));
        case D3DBLENDOP_MIN: return std::min(s, d);
        case D3DBLENDOP_MAX: return std::max(s, d);
        default: return std::min(255, Mul255(s, sf) + Mul255(d, df));
    }
}

// Fast spans for the states that sprites use: the colour is the texel's,
// the alpha the texel's times a constant of the quad, and one of the blend
// pairs below onto a target without alpha.
enum SpanKind { SpanReplace, SpanMultiply, SpanAddSquare, SpanDarkenBySourceAlpha, SpanOver };

template <SpanKind Kind>
void FastSpan(uint32_t* out, int from, int to, int64_t s, int64_t t, int64_t ds, int64_t dt, const Sampler& sampler,
              int alphaScale, bool alphaTest, DWORD alphaFunc, int alphaRef) {
    for (int i = from; i < to; ++i, s += ds, t += dt) {
        const uint32_t texel = sampler.Sample(s, t);
        const int sa = Mul255(static_cast<int>(texel >> 24), alphaScale);
        if (alphaTest && !AlphaPasses(alphaFunc, sa, alphaRef)) continue;
        const int sr = (texel >> 16) & 0xff, sg = (texel >> 8) & 0xff, sb = texel & 0xff;
        const uint32_t d = out[i];
        const int dr = (d >> 16) & 0xff, dg = (d >> 8) & 0xff, db = d & 0xff;
        int r, g, b;
        switch (Kind) {
            case SpanReplace:
                r = sr, g = sg, b = sb;
                break;
            case SpanMultiply:
                r = Mul255(dr, sr), g = Mul255(dg, sg), b = Mul255(db, sb);
                break;
            case SpanAddSquare:
                if ((texel & 0xffffffu) == 0) continue;
                r = std::min(255, dr + Mul255(sr, sr));
                g = std::min(255, dg + Mul255(sg, sg));
                b = std::min(255, db + Mul255(sb, sb));
                break;
            case SpanDarkenBySourceAlpha:
                if (sa == 0) continue;
                r = Mul255(dr, 255 - sa), g = Mul255(dg, 255 - sa), b = Mul255(db, 255 - sa);
                break;
            case SpanOver:
                r = Mul255(sr, sa) + Mul255(dr, 255 - sa);
                g = Mul255(sg, sa) + Mul255(dg, 255 - sa);
                b = Mul255(sb, sa) + Mul255(db, 255 - sa);
                break;
        }
        out[i] = 0xff000000u | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
                 static_cast<uint32_t>(b);
    }
}

typedef void (*FastSpanFunction)(uint32_t*, int, int, int64_t, int64_t, int64_t, int64_t, const Sampler&, int, bool,
                                 DWORD, int);

// The fast span for the current states, or null when only the general
// per-pixel path computes them.
FastSpanFunction ChooseFastSpan(bool targetHasAlpha, bool useTexture, const DWORD* rs, const DWORD* stage,
                                const Colour& diffuse, const Colour& factor, int* alphaScale) {
    if (targetHasAlpha || !useTexture || (rs[D3DRS_COLORWRITEENABLE] & 0x7) != 0x7) return nullptr;
    const DWORD colourArg2 = stage[D3DTSS_COLORARG2];
    const bool whiteDiffuse = diffuse.r == 255 && diffuse.g == 255 && diffuse.b == 255;
    const bool texelColour = stage[D3DTSS_COLORARG1] == D3DTA_TEXTURE &&
                             ((stage[D3DTSS_COLOROP] == D3DTOP_SELECTARG1) ||
                              (stage[D3DTSS_COLOROP] == D3DTOP_MODULATE &&
                               (colourArg2 == D3DTA_DIFFUSE || colourArg2 == D3DTA_CURRENT) && whiteDiffuse));
    if (!texelColour) return nullptr;
    const DWORD alphaOp = stage[D3DTSS_ALPHAOP], alphaArg2 = stage[D3DTSS_ALPHAARG2];
    if (stage[D3DTSS_ALPHAARG1] != D3DTA_TEXTURE) return nullptr;
    if (alphaOp == D3DTOP_SELECTARG1) {
        *alphaScale = 255;
    } else if (alphaOp == D3DTOP_MODULATE && alphaArg2 == D3DTA_TFACTOR) {
        *alphaScale = factor.a;
    } else if (alphaOp == D3DTOP_MODULATE && (alphaArg2 == D3DTA_DIFFUSE || alphaArg2 == D3DTA_CURRENT)) {
        *alphaScale = diffuse.a;
    } else {
        return nullptr;
    }
    if (!rs[D3DRS_ALPHABLENDENABLE]) return FastSpan<SpanReplace>;
    if (rs[D3DRS_BLENDOP] != D3DBLENDOP_ADD) return nullptr;
    const DWORD source = rs[D3DRS_SRCBLEND], dest = rs[D3DRS_DESTBLEND];
    // Without a destination alpha, D3DBLEND_INVDESTALPHA is zero.
    if ((source == D3DBLEND_ZERO || source == D3DBLEND_INVDESTALPHA) && dest == D3DBLEND_SRCCOLOR) {
        return FastSpan<SpanMultiply>;
    }
    if (source == D3DBLEND_SRCCOLOR && dest == D3DBLEND_ONE) return FastSpan<SpanAddSquare>;
    if ((source == D3DBLEND_INVDESTALPHA || source == D3DBLEND_ZERO) && dest == D3DBLEND_INVSRCALPHA) {
        return FastSpan<SpanDarkenBySourceAlpha>;
    }
    if (source == D3DBLEND_SRCALPHA && dest == D3DBLEND_INVSRCALPHA) return FastSpan<SpanOver>;
    return nullptr;
}

}  // namespace

void RasterQuad(PixelStore& target, bool targetHasAlpha, const QuadVertex c[4], D3DCOLOR diffusePacked,
                const Texture* texture, const DWORD* rs, const DWORD* stage, const DWORD* samplerStates) {
    const bool blend = rs[D3DRS_ALPHABLENDENABLE] != 0;
    const DWORD srcBlend = rs[D3DRS_SRCBLEND], destBlend = rs[D3DRS_DESTBLEND], blendOp = rs[D3DRS_BLENDOP];
    if ((rs[D3DRS_COLORWRITEENABLE] & 0xf) == 0) return;
    if (blend && blendOp == D3DBLENDOP_ADD && srcBlend == D3DBLEND_ZERO && destBlend == D3DBLEND_ONE) return;
    if (rs[D3DRS_ALPHATESTENABLE] && rs[D3DRS_ALPHAFUNC] == D3DCMP_NEVER) return;

    // The affine map from the screen to the quad's own (s, t) in [0, 1].
    const float e1x = c[1].x - c[0].x, e1y = c[1].y - c[0].y;
    const float e2x = c[3].x - c[0].x, e2y = c[3].y - c[0].y;
    const double det = static_cast<double>(e1x) * e2y - static_cast<double>(e1y) * e2x;
    if (!(std::fabs(det) > 1e-9)) return;
    const double dsdx = e2y / det, dsdy = -e2x / det, dtdx = -e1y / det, dtdy = e1x / det;
    const double du1 = c[1].u - c[0].u, du3 = c[3].u - c[0].u;
    const double dv1 = c[1].v - c[0].v, dv3 = c[3].v - c[0].v;
    const double dudx = du1 * dsdx + du3 * dtdx, dudy = du1 * dsdy + du3 * dtdy;
    const double dvdx = dv1 * dsdx + dv3 * dtdx, dvdy = dv1 * dsdy + dv3 * dtdy;

    // Texture stage 0.
    const DWORD colourOp = stage[D3DTSS_COLOROP], alphaOp = stage[D3DTSS_ALPHAOP];
    const DWORD c1 = stage[D3DTSS_COLORARG1], c2 = stage[D3DTSS_COLORARG2];
    const DWORD a1 = stage[D3DTSS_ALPHAARG1], a2 = stage[D3DTSS_ALPHAARG2];
    const Colour diffuse = Unpack(diffusePacked);
    const Colour factor = Unpack(rs[D3DRS_TEXTUREFACTOR]);
    const Colour constant = Unpack(rs[D3DRS_BLENDFACTOR]);

    Sampler sampler;
    bool useTexture = texture != nullptr && texture->Levels() > 0;
    double scaleU = 0, scaleV = 0;
    if (useTexture) {
        const PixelStore& base = texture->Level(0);
        double rho = std::max(std::hypot(dudx * base.width, dvdx * base.height),
                              std::hypot(dudy * base.width, dvdy * base.height));
        double lod = rho > 0 ? std::log2(rho) : 0;
        UINT level = 0;
        if (samplerStates[D3DSAMP_MIPFILTER] != D3DTEXF_NONE && lod > 0) {
            level = static_cast<UINT>(std::min<double>(std::floor(lod + 0.5), texture->Levels() - 1));
        }
        sampler.level = &texture->Level(level);
        DWORD filter = lod > 0 ? samplerStates[D3DSAMP_MINFILTER] : samplerStates[D3DSAMP_MAGFILTER];
        sampler.linear = filter == D3DTEXF_LINEAR || filter == D3DTEXF_ANISOTROPIC;
        sampler.forceOpaque = !FormatHasAlpha(texture->Format());
        int w = static_cast<int>(sampler.level->width), h = static_cast<int>(sampler.level->height);
        sampler.u = {w, samplerStates[D3DSAMP_ADDRESSU] == D3DTADDRESS_WRAP, (w & (w - 1)) == 0};
        sampler.v = {h, samplerStates[D3DSAMP_ADDRESSV] == D3DTADDRESS_WRAP, (h & (h - 1)) == 0};
        scaleU = w;
        scaleV = h;
    }
    const Colour untextured = {255, 255, 255, 255};

    int alphaScale = 255;
    const FastSpanFunction fast =
        ChooseFastSpan(targetHasAlpha, useTexture, rs, stage, diffuse, factor, &alphaScale);

    const bool alphaTest = rs[D3DRS_ALPHATESTENABLE] != 0;
    const DWORD alphaFunc = rs[D3DRS_ALPHAFUNC];
    const int alphaRef = static_cast<int>(rs[D3DRS_ALPHAREF] & 0xff);

    // Rows whose centres lie inside the quad.
    float yMin = c[0].y, yMax = c[0].y;
    for (int k = 1; k < 4; ++k) {
        yMin = std::min(yMin, c[k].y);
        yMax = std::max(yMax, c[k].y);
    }
    const int rowStart = std::max(0, static_cast<int>(std::ceil(yMin)));
    const int rowEnd = std::min(static_cast<int>(target.height), static_cast<int>(std::ceil(yMax)));
    const int width = static_cast<int>(target.width);

    for (int j = rowStart; j < rowEnd; ++j) {
        const double yc = j;
        double left = 0, right = 0;
        int crossings = 0;
        for (int k = 0; k < 4; ++k) {
            const QuadVertex& a = c[k];
            const QuadVertex& b = c[(k + 1) % 4];
            if ((a.y <= yc && yc < b.y) || (b.y <= yc && yc < a.y)) {
                double x = a.x + (yc - a.y) * (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y);
                if (crossings == 0) {
                    left = right = x;
                } else {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
                ++crossings;
            }
        }
        if (crossings < 2) continue;
        const int spanStart = std::max(0, static_cast<int>(std::ceil(left)));
        const int spanEnd = std::min(width, static_cast<int>(std::ceil(right)));
        if (spanStart >= spanEnd) continue;

        // Texture coordinates at the span's first pixel, in 16.16 texels.
        const double px = spanStart - c[0].x, py = yc - c[0].y;
        const double u = c[0].u + dudx * px + dudy * py;
        const double v = c[0].v + dvdx * px + dvdy * py;
        int64_t s = std::llround(u * scaleU * 65536.0), t = std::llround(v * scaleV * 65536.0);
        const int64_t ds = std::llround(dudx * scaleU * 65536.0), dt = std::llround(dvdx * scaleV * 65536.0);

        uint32_t* out = target.Row(static_cast<UINT>(j));
        if (fast) {
            fast(out, spanStart, spanEnd, s, t, ds, dt, sampler, alphaScale, alphaTest, alphaFunc, alphaRef);
            continue;
        }
        for (int i = spanStart; i < spanEnd; ++i, s += ds, t += dt) {
            const Colour texel = useTexture ? Unpack(sampler.Sample(s, t)) : untextured;
            // Colour and alpha operations of stage 0; a disabled colour
            // operation passes the diffuse colour through.
            Colour src;
            if (colourOp == D3DTOP_DISABLE) {
                src = diffuse;
            } else {
                const Colour x = Argument(c1, diffuse, texel, factor), y = Argument(c2, diffuse, texel, factor);
                src.r = Operate(colourOp, x.r, y.r, diffuse.r);
                src.g = Operate(colourOp, x.g, y.g, diffuse.g);
                src.b = Operate(colourOp, x.b, y.b, diffuse.b);
                if (alphaOp == D3DTOP_DISABLE) {
                    src.a = diffuse.a;
                } else {
                    const int xa = Argument(a1, diffuse, texel, factor).a;
                    const int ya = Argument(a2, diffuse, texel, factor).a;
                    src.a = Operate(alphaOp, xa, ya, diffuse.a);
                }
            }
            if (alphaTest && !AlphaPasses(alphaFunc, src.a, alphaRef)) continue;

            Colour result = src;
            Colour dst = Unpack(out[i]);
            if (!targetHasAlpha) dst.a = 255;
            if (blend) {
                const Colour sf = Factor(srcBlend, src, dst, constant, false);
                Colour df = Factor(destBlend, src, dst, constant, true);
                if (srcBlend == D3DBLEND_BOTHSRCALPHA || srcBlend == D3DBLEND_BOTHINVSRCALPHA) {
                    df = Factor(srcBlend, src, dst, constant, true);
                }
                result.r = BlendChannel(blendOp, src.r, sf.r, dst.r, df.r);
                result.g = BlendChannel(blendOp, src.g, sf.g, dst.g, df.g);
                result.b = BlendChannel(blendOp, src.b, sf.b, dst.b, df.b);
                result.a = BlendChannel(blendOp, src.a, sf.a, dst.a, df.a);
            }
            if (!targetHasAlpha) result.a = 255;
            out[i] = Pack(result);
        }
    }
}

}  // namespace d3d9
