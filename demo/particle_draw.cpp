// The draw callback of every particle: one quad of its image with its size,
// angle, blend factors and opacity.
#include "demo/particle.h"
#include "graphics/graphics.h"

int32_t ParticleDraw(ParticleBody* body) {
    QuadImage* image = body->image;
    if (!image) return 1;
    QuadImageZoom(image, static_cast<float>(body->width) / static_cast<float>(QuadImageWidth(image)),
                  static_cast<float>(body->height) / static_cast<float>(QuadImageHeight(image)));
    // Rotation 0 keeps the angle the previous particle of this image left.
    if (body->rotation != 0) QuadImageRotate(image, static_cast<float>(body->rotation));
    QuadBlendMode(1, body->blendSource, body->blendDest);
    IDirect3DDevice9* device = GraphicsDevice();
    device->SetTexture(0, QuadImageTexture(image));
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TFACTOR);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, static_cast<DWORD>(body->alpha) << 24);
    QuadImageDraw(image, body->x, body->y);
    device->SetTexture(0, nullptr);
    return 1;
}
