// Start-up and shutdown of the explosion demo.
#include "assets/assets.h"
#include "demo.h"
#include "graphics/graphics.h"
#include "particle.h"
#include "sound/sound.h"
#include "window/window.h"

HINSTANCE ModuleInstance;
int32_t SoundCopyCount;
int32_t SoundCopyIndex;
BlitImage* GroundImage;

bool StartUp(HINSTANCE instance) {
    ModuleInstance = instance;
    MainHeap = HeapCreate(0, 4000, 0);
    ObjectHeapCreate();
    WindowInit();
    GadgetInit();
    MessageBoxInit();
    ListInit(ParticleList, sizeof(Particle));
    Wind = {1, -1};

    if (GraphicsInit() == 0) {
        MessageBoxShow("Error", "You'll need the D3DX9_27.dll to run that program.", MB_OK | MB_ICONHAND);
        return false;
    }
    SoundInit();

    HWND window = reinterpret_cast<HWND>(WindowOpen(0, 0, 0, 600, 600, 0xCA0001, ""));
    GadgetListOpen(window);
    HWND container = ContainerCreate(4, 0, 0, 600, 580);
    ScreenOpen(600, 580, 0, container, ScreenFlagWindowed | ScreenFlagAlpha | ScreenFlagImmediate);
    GadgetListClose();
    ButtonCreate(GadgetBoom, 0, 580, 200, 20, "Boom");
    ButtonCreate(GadgetContinuous, 200, 580, 200, 20, "Booo...m", BS_PUSHLIKE | BS_AUTOCHECKBOX);
    ButtonCreate(GadgetDeleteAll, 400, 580, 200, 20, "Delete all Particle");

    SoundCopyCount = 64;
    for (SoundCopyIndex = 0; SoundCopyIndex <= SoundCopyCount - 1; ++SoundCopyIndex)
        SoundCatch(SoundCopyIndex, ExplosionWav, static_cast<uint32_t>(ExplosionWavSize));

    GroundImage = BlitImageCatch(GroundPng, GroundPngSize);
    SmokeImage = QuadImageCatch(SmokePng, SmokePngSize);
    FireImage = QuadImageCatch(FirePng, FirePngSize);
    ScorchImage = QuadImageCatch(ScorchPng, ScorchPngSize);
    return true;
}

void EndRoutine() {
    GraphicsShutdown();
    SoundShutdown();
    WindowShutdown();
    ObjectHeapDestroy();
}

void MainProgram(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (StartUp(instance)) FrameLoopRun();
    EndRoutine();
    HeapDestroy(MainHeap);
    ExitProcess(0);
}
