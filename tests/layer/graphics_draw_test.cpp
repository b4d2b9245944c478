// Drawing on the back buffer: the ground's copies, quad geometry, the
// program's blend pairs, the alpha-test fix, images from memory and
// ParticleDraw. Edges are compared as areas, within a pixel.
#include <cmath>
#include <cstdlib>

#include "demo/particle.h"
#include "graphics_support.h"

namespace {

constexpr uint32_t kRed = 0xffff0000u, kGreen = 0xff00ff00u, kBlue = 0xff0000ffu, kWhite = 0xffffffffu;

// A 64 by 64 image in four 32 by 32 quarters: top-left red, top-right green,
// bottom-right blue, bottom-left white.
std::vector<uint8_t> QuarterPng() {
    std::vector<uint32_t> pixels(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            pixels[y * 64 + x] = y < 32 ? (x < 32 ? kRed : kGreen) : (x < 32 ? kWhite : kBlue);
    return MakePng(64, 64, pixels, false);
}

void ExpectNear(uint32_t pixel, int r, int g, int b, int tolerance, const char* what) {
    EXPECT_NEAR(Red(pixel), r, tolerance) << what;
    EXPECT_NEAR(Green(pixel), g, tolerance) << what;
    EXPECT_NEAR(Blue(pixel), b, tolerance) << what;
}

// Colour of a pixel, as the nearest of the quarter colours.
uint32_t Dominant(uint32_t pixel) {
    int r = Red(pixel) > 128, g = Green(pixel) > 128, b = Blue(pixel) > 128;
    return 0xff000000u | (r ? 0xff0000u : 0) | (g ? 0xff00u : 0) | (b ? 0xffu : 0);
}

class GraphicsDrawTest : public GraphicsSurfaceTest {
protected:
    // Draws `image` opaquely (blending off) at (x, y) in its own pass.
    void DrawOpaque(QuadImage* image, float x, float y) {
        QuadPassBegin();
        QuadBlendMode(0, D3DBLEND_ONE, D3DBLEND_ZERO);
        QuadImageDraw(image, x, y);
        QuadPassEnd();
    }
    void ExpectBox(const Coverage& c, int left, int top, int right, int bottom) {
        EXPECT_NEAR(c.left, left, 1);
        EXPECT_NEAR(c.top, top, 1);
        EXPECT_NEAR(c.right, right, 1);
        EXPECT_NEAR(c.bottom, bottom, 1);
        int area = (right - left) * (bottom - top);
        int perimeter = 2 * ((right - left) + (bottom - top));
        EXPECT_NEAR(c.count, area, perimeter / 2 + 2);
    }
};

// ---------------------------------------------------------------- the ground

TEST_F(GraphicsDrawTest, GroundTilesCoverTheSurfaceWithClippedEdges) {
    // Each tile row and column gets its own colour, so every copy shows.
    std::vector<uint32_t> pixels(256 * 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) pixels[y * 256 + x] = 0xff000000u | (x << 16) | (y << 8) | 0x40;
    std::vector<uint8_t> png = MakePng(256, 256, pixels, false);
    BlitImage* ground = BlitImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(ground, nullptr);
    EXPECT_EQ(BlitImageWidth(ground), 256);
    EXPECT_EQ(BlitImageHeight(ground), 256);
    Fill(0x000000);
    int copies = 0;
    for (int y = 0; y < kHeight; y += BlitImageHeight(ground))
        for (int x = 0; x < kWidth; x += BlitImageWidth(ground)) {
            BlitImageDraw(ground, x, y);
            ++copies;
        }
    EXPECT_EQ(copies, 9);
    std::vector<uint32_t> frame = Frame();
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            wrong += frame[y * kWidth + x] != ((static_cast<uint32_t>(x % 256) << 16) | ((y % 256) << 8) | 0x40);
    EXPECT_EQ(wrong, 0);
}

TEST_F(GraphicsDrawTest, CornerCopyIs88By68AndTouchesNothingElse) {
    std::vector<uint8_t> png = SolidPng(256, 256, 0xff204060u, false);
    BlitImage* ground = BlitImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(ground, nullptr);
    Fill(0x000000);
    BlitImageDraw(ground, 512, 512);
    Coverage c = Measure(Frame(), kWidth, 0x000000);
    EXPECT_EQ(c.count, 88 * 68);
    EXPECT_EQ(c.left, 512);
    EXPECT_EQ(c.top, 512);
    EXPECT_EQ(c.right, 600);
    EXPECT_EQ(c.bottom, 580);
}

TEST_F(GraphicsDrawTest, CopiesOutsideTheBackBufferTouchNothing) {
    std::vector<uint8_t> png = SolidPng(256, 256, 0xff204060u, false);
    BlitImage* ground = BlitImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(ground, nullptr);
    Fill(0x000000);
    const int places[][2] = {{600, 0}, {0, 580}, {-10, 0}, {0, -10}, {5000, 5000}, {-300, -300}};
    for (const auto& at : places) BlitImageDraw(ground, at[0], at[1]);
    BlitImageDraw(nullptr, 0, 0);
    EXPECT_EQ(Measure(Frame(), kWidth, 0x000000).count, 0);
}

// ------------------------------------------------------------ quad geometry

TEST_F(GraphicsDrawTest, UnzoomedQuadCoversItsSizeFromItsTopLeftCorner) {
    std::vector<uint8_t> png = SolidPng(64, 64, kWhite, false);
    QuadImage* image = QuadImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(image, nullptr);
    Fill(0x000000);
    DrawOpaque(image, 10.5f, 20.0f);
    ExpectBox(Measure(Frame(), kWidth, 0x000000), 11, 20, 75, 84);
}

TEST_F(GraphicsDrawTest, HalfZoomTurnedAQuarterPutsTheTextureCornersInPlace) {
    std::vector<uint8_t> png = QuarterPng();
    QuadImage* image = QuadImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(image, nullptr);
    Fill(0x000000);
    QuadImageZoom(image, 0.5f, 0.5f);
    QuadImageRotate(image, 3.14159265f / 2);
    DrawOpaque(image, 100.0f, 50.0f);
    ExpectBox(Measure(Frame(), kWidth, 0x000000), 100, 50, 132, 82);
    // The texture's top-left corner at (132, 50), top-right at (132, 82),
    // bottom-right at (100, 82), bottom-left at (100, 50).
    EXPECT_EQ(Dominant(Pixel(124, 58)), kRed);
    EXPECT_EQ(Dominant(Pixel(124, 74)), kGreen);
    EXPECT_EQ(Dominant(Pixel(108, 74)), kBlue);
    EXPECT_EQ(Dominant(Pixel(108, 58)), kWhite);
}

TEST_F(GraphicsDrawTest, ZoomOneAndQuarterShareTheTopLeftCorner) {
    std::vector<uint8_t> png = SolidPng(64, 64, kWhite, false);
    QuadImage* image = QuadImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(image, nullptr);
    const float zooms[] = {1.0f, 0.25f};
    Coverage boxes[2];
    for (int i = 0; i < 2; ++i) {
        Fill(0x000000);
        QuadImageZoom(image, zooms[i], zooms[i]);
        DrawOpaque(image, 200.0f, 100.0f);
        boxes[i] = Measure(Frame(), kWidth, 0x000000);
    }
    ExpectBox(boxes[0], 200, 100, 264, 164);
    ExpectBox(boxes[1], 200, 100, 216, 116);
    EXPECT_EQ(boxes[0].left, boxes[1].left);
    EXPECT_EQ(boxes[0].top, boxes[1].top);
    // The small one's centre lies 24 pixels left of and above the large one's.
    EXPECT_NEAR((boxes[0].left + boxes[0].right) / 2.0 - (boxes[1].left + boxes[1].right) / 2.0, 24.0, 1.0);
    EXPECT_NEAR((boxes[0].top + boxes[0].bottom) / 2.0 - (boxes[1].top + boxes[1].bottom) / 2.0, 24.0, 1.0);
}

TEST_F(GraphicsDrawTest, NegativeZoomMirrorsToTheLeftOfX) {
    std::vector<uint8_t> png = QuarterPng();
    QuadImage* image = QuadImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(image, nullptr);
    Fill(0x000000);
    QuadImageZoom(image, -1.0f, 1.0f);
    DrawOpaque(image, 300.0f, 100.0f);
    ExpectBox(Measure(Frame(), kWidth, 0x000000), 236, 100, 300, 164);
    EXPECT_EQ(Dominant(Pixel(290, 110)), kRed) << "the texture's left edge stays at x";
    EXPECT_EQ(Dominant(Pixel(246, 110)), kGreen);
}

TEST_F(GraphicsDrawTest, ZoomZeroDrawsNothing) {
    std::vector<uint8_t> png = SolidPng(64, 64, kWhite, false);
    QuadImage* image = QuadImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(image, nullptr);
    Fill(0x000000);
    QuadImageZoom(image, 0.0f, 1.0f);
    DrawOpaque(image, 50.0f, 50.0f);
    EXPECT_EQ(Measure(Frame(), kWidth, 0x000000).count, 0);
}

// -------------------------------------------------------------- blend pairs

struct BlendCase {
    const char* name;
    int32_t source, dest;
    int r, g, b;  // expected over destination (100, 150, 200)
};

class GraphicsBlendTest : public GraphicsDrawTest, public ::testing::WithParamInterface<BlendCase> {};

// Source texel (200, 100, 50) with alpha 128, texture-factor alpha 200:
// source alpha 128 * 200 / 255 = 100.
TEST_P(GraphicsBlendTest, ProgramsPairsOnAKnownDestination) {
    const BlendCase& c = GetParam();
    std::vector<uint8_t> png = SolidPng(64, 64, 0x80c86432u, true);
    QuadImage* image = QuadImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(image, nullptr);
    Fill(0x6496c8);
    ParticleBody body = {};
    body.image = image;
    body.blendSource = c.source;
    body.blendDest = c.dest;
    body.x = 100;
    body.y = 100;
    body.width = 64;
    body.height = 64;
    body.alpha = 200;
    QuadPassBegin();
    ParticleDraw(&body);
    QuadPassEnd();
    ExpectNear(Pixel(132, 132), c.r, c.g, c.b, 3, c.name);
    EXPECT_EQ(Pixel(20, 20), 0x6496c8u) << "outside the quad";
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, GraphicsBlendTest,
    ::testing::Values(BlendCase{"scorch", D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, 78, 59, 39},
                      BlendCase{"fire", D3DBLEND_SRCCOLOR, D3DBLEND_ONE, 255, 189, 210},
                      BlendCase{"smoke", D3DBLEND_INVDESTALPHA, D3DBLEND_INVSRCALPHA, 61, 91, 121}),
    [](const ::testing::TestParamInfo<BlendCase>& info) { return std::string(info.param.name); });

// Scorch marks and fireballs keep alpha 0; with the sprite's alpha test they
// would leave the destination as it was.
class GraphicsAlphaZeroTest : public GraphicsDrawTest, public ::testing::WithParamInterface<BlendCase> {};

TEST_P(GraphicsAlphaZeroTest, StillChangesTheDestination) {
    const BlendCase& c = GetParam();
    std::vector<uint8_t> png = SolidPng(64, 64, 0xff808080u, false);
    QuadImage* image = QuadImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(image, nullptr);
    Fill(0x6496c8);
    ParticleBody body = {};
    body.image = image;
    body.blendSource = c.source;
    body.blendDest = c.dest;
    body.x = 100;
    body.y = 100;
    body.width = 64;
    body.height = 64;
    body.alpha = 0;
    QuadPassBegin();
    ParticleDraw(&body);
    QuadPassEnd();
    EXPECT_NE(Pixel(132, 132), 0x6496c8u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, GraphicsAlphaZeroTest,
    ::testing::Values(BlendCase{"scorch", D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, 0, 0, 0},
                      BlendCase{"fire", D3DBLEND_SRCCOLOR, D3DBLEND_ONE, 0, 0, 0}),
    [](const ::testing::TestParamInfo<BlendCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------- images from memory

TEST_F(GraphicsDrawTest, RgbAndRgbaImagesLoadTheirPixels) {
    for (bool alpha : {false, true}) {
        std::vector<uint32_t> pixels(64 * 64);
        for (int i = 0; i < 64 * 64; ++i) pixels[i] = 0xff000000u | static_cast<uint32_t>(i * 37 % 0xffffff) | 0x010101;
        std::vector<uint8_t> png = MakePng(64, 64, pixels, alpha);
        BlitImage* blit = BlitImageCatch(png.data(), static_cast<int32_t>(png.size()));
        ASSERT_NE(blit, nullptr);
        Fill(0x000000);
        BlitImageDraw(blit, 10, 20);
        std::vector<uint32_t> frame = Frame();
        int wrong = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) wrong += frame[(20 + y) * kWidth + 10 + x] != (pixels[y * 64 + x] & 0xffffffu);
        EXPECT_EQ(wrong, 0) << (alpha ? "RGBA" : "RGB");
        QuadImage* quad = QuadImageCatch(png.data(), static_cast<int32_t>(png.size()));
        ASSERT_NE(quad, nullptr);
        EXPECT_EQ(QuadImageWidth(quad), 64);
        EXPECT_EQ(QuadImageHeight(quad), 64);
        EXPECT_EQ(quad->transform->origin.x, -32.0f);
        EXPECT_EQ(quad->transform->origin.y, -32.0f);
        EXPECT_EQ(quad->transform->zoomX, 1.0f);
        EXPECT_EQ(quad->transform->sprite, GraphicsState.sprite);
        for (int r = 0; r < 4; ++r)
            for (int k = 0; k < 4; ++k) {
                EXPECT_EQ(quad->transform->matrix.m[r][k], r == k ? 1.0f : 0.0f);
                EXPECT_EQ(quad->transform->rotationMatrix.m[r][k], r == k ? 1.0f : 0.0f);
            }
    }
}

TEST_F(GraphicsDrawTest, ColourKeyTurnsOpaqueBlackTransparent) {
    // Left half opaque black, right half opaque white.
    std::vector<uint32_t> pixels(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) pixels[y * 64 + x] = x < 32 ? 0xff000000u : kWhite;
    std::vector<uint8_t> png = MakePng(64, 64, pixels, false);
    QuadImage* image = QuadImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(image, nullptr);
    Fill(0x336699);
    QuadPassBegin();
    QuadBlendMode(1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    QuadImageDraw(image, 100.0f, 100.0f);
    QuadPassEnd();
    EXPECT_EQ(Pixel(110, 130), 0x336699u) << "keyed out";
    ExpectNear(Pixel(150, 130), 255, 255, 255, 2, "kept");
    // In a BlitImage of the back buffer's format the keyed pixels stay black.
    BlitImage* blit = BlitImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(blit, nullptr);
    BlitImageDraw(blit, 300, 300);
    EXPECT_EQ(Pixel(310, 330), 0x000000u);
}

TEST_F(GraphicsDrawTest, OddSizedImageHasAHalfPixelOriginAndAPowerOfTwoTexture) {
    std::vector<uint8_t> png = SolidPng(33, 20, kWhite, false);
    QuadImage* image = QuadImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(QuadImageWidth(image), 33);
    EXPECT_EQ(QuadImageHeight(image), 20);
    EXPECT_EQ(image->transform->origin.x, -16.5f);
    EXPECT_EQ(image->transform->origin.y, -10.0f);
    EXPECT_EQ(image->transform->origin.z, 0.0f);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(QuadImageTexture(image)->GetLevelDesc(0, &desc), S_OK);
    EXPECT_EQ(desc.Width, 64u);
    EXPECT_EQ(desc.Height, 32u);
    EXPECT_GT(QuadImageTexture(image)->GetLevelCount(), 1u);
    QuadImageZoom(image, 2.0f, 2.0f);
    EXPECT_EQ(QuadImageWidth(image), 33) << "zoom keeps the natural size";
}

TEST_F(GraphicsDrawTest, DataThatIsNotAnImageGivesZero) {
    const char text[] = "this is not an image file at all";
    EXPECT_EQ(BlitImageCatch(text, sizeof text), nullptr);
    EXPECT_EQ(QuadImageCatch(text, sizeof text), nullptr);
}

TEST_F(GraphicsDrawTest, TwoCatchesOfOneFileAreIndependent) {
    std::vector<uint8_t> png = SolidPng(64, 64, kWhite, false);
    QuadImage* a = QuadImageCatch(png.data(), static_cast<int32_t>(png.size()));
    QuadImage* b = QuadImageCatch(png.data(), static_cast<int32_t>(png.size()));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a->transform, b->transform);
    QuadImageZoom(a, 0.5f, 0.5f);
    EXPECT_EQ(b->transform->zoomX, 1.0f);
}

// -------------------------------------------------------------- ParticleDraw

class ParticleDrawTest : public GraphicsDrawTest {
protected:
    void SetUp() override {
        GraphicsDrawTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        png_ = SolidPng(64, 64, kWhite, false);
        image_ = QuadImageCatch(png_.data(), static_cast<int32_t>(png_.size()));
        ASSERT_NE(image_, nullptr);
        body_.image = image_;
        body_.blendSource = D3DBLEND_SRCCOLOR;
        body_.blendDest = D3DBLEND_ONE;
        body_.width = 64;
        body_.height = 64;
    }
    DWORD State(D3DRENDERSTATETYPE state) {
        DWORD value = 0;
        GraphicsDevice()->GetRenderState(state, &value);
        return value;
    }
    std::vector<uint8_t> png_;
    QuadImage* image_ = nullptr;
    ParticleBody body_ = {};
};

TEST_F(ParticleDrawTest, ImageZeroMakesNoCall) {
    GraphicsDevice()->SetRenderState(D3DRS_TEXTUREFACTOR, 0x12345678u);
    GraphicsDevice()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTCOLOR);
    body_.image = nullptr;
    QuadPassBegin();
    EXPECT_EQ(ParticleDraw(&body_), 1);
    EXPECT_EQ(State(D3DRS_TEXTUREFACTOR), 0x12345678u);
    QuadPassEnd();
    EXPECT_EQ(State(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_DESTCOLOR));
}

TEST_F(ParticleDrawTest, ZoomComesFromTheWantedSize) {
    const int sizes[][2] = {{64, 64}, {32, 32}, {16, 16}, {16, 48}};
    QuadPassBegin();
    for (const auto& size : sizes) {
        body_.width = size[0];
        body_.height = size[1];
        EXPECT_EQ(ParticleDraw(&body_), 1);
        EXPECT_EQ(image_->transform->zoomX, size[0] / 64.0f);
        EXPECT_EQ(image_->transform->zoomY, size[1] / 64.0f);
    }
    QuadPassEnd();
}

TEST_F(ParticleDrawTest, RotationZeroKeepsThePreviousAngle) {
    QuadPassBegin();
    body_.rotation = 3;
    ParticleDraw(&body_);
    const float cos3 = std::cos(3.0f), sin3 = std::sin(3.0f);
    EXPECT_NEAR(image_->transform->rotationMatrix._11, cos3, 1e-6);
    EXPECT_NEAR(image_->transform->rotationMatrix._12, sin3, 1e-6);
    body_.rotation = 0;
    body_.width = 16;
    ParticleDraw(&body_);
    EXPECT_NEAR(image_->transform->rotationMatrix._11, cos3, 1e-6);
    EXPECT_NEAR(image_->transform->rotationMatrix._21, -sin3, 1e-6);
    EXPECT_NEAR(image_->transform->matrix._11, cos3 * 0.25f, 1e-6);
    QuadPassEnd();
}

TEST_F(ParticleDrawTest, TextureFactorCarriesOnlyTheAlpha) {
    const int32_t alphas[] = {250, 0, 255, 1};
    QuadPassBegin();
    for (int32_t alpha : alphas) {
        body_.alpha = alpha;
        ParticleDraw(&body_);
        EXPECT_EQ(State(D3DRS_TEXTUREFACTOR), static_cast<DWORD>(alpha) << 24);
        EXPECT_EQ(State(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_SRCCOLOR));
        EXPECT_EQ(State(D3DRS_DESTBLEND), static_cast<DWORD>(D3DBLEND_ONE));
        DWORD arg = 0;
        GraphicsDevice()->GetTextureStageState(0, D3DTSS_ALPHAARG2, &arg);
        EXPECT_EQ(arg, static_cast<DWORD>(D3DTA_TFACTOR));
        IDirect3DBaseTexture9* bound = reinterpret_cast<IDirect3DBaseTexture9*>(1);
        GraphicsDevice()->GetTexture(0, &bound);
        EXPECT_EQ(bound, nullptr) << "the texture is unset again";
    }
    QuadPassEnd();
}

TEST_F(ParticleDrawTest, EachQuadIsDrawnWithItsOwnBlendFactors) {
    // A fire quad (adds) then a scorch quad with a black image (multiplies
    // by black) over it: the second's factors must not reach the first.
    std::vector<uint8_t> black = SolidPng(64, 64, 0xff010101u, false);
    QuadImage* dark = QuadImageCatch(black.data(), static_cast<int32_t>(black.size()));
    ASSERT_NE(dark, nullptr);
    Fill(0x202020);
    ParticleBody scorch = body_;
    scorch.image = dark;
    scorch.blendSource = D3DBLEND_ZERO;
    scorch.blendDest = D3DBLEND_SRCCOLOR;
    scorch.x = 300;
    body_.x = 100;
    QuadPassBegin();
    ParticleDraw(&body_);
    ParticleDraw(&scorch);
    QuadPassEnd();
    ExpectNear(Pixel(132, 32), 255, 255, 255, 1, "fire adds white");
    ExpectNear(Pixel(332, 32), 0, 0, 0, 1, "scorch darkens");
}

}  // namespace
