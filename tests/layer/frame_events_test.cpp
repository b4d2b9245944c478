// The frame loop's event drain over the real window layer: the buttons'
// notifications and the close request as Win32 delivers them.
#include <gtest/gtest.h>

#include "demo/demo.h"
#include "demo/particle.h"
#include "support/main_heap.h"
#include "window/window.h"

namespace {

class FrameEvents : public MainHeapTest {
protected:
    void SetUp() override {
        MainHeapTest::SetUp();
        ObjectHeapCreate();
        WindowInit();
        GadgetInit();
        ParticleList = List{};
        ListInit(ParticleList, sizeof(Particle));
        FrameLoop = FrameLoopState{};
        SoundCopyCount = 64;
        SoundCopyIndex = 64;
        window = WindowOpen(0, 0, 0, 600, 600, 0xCA0001, "");
        ASSERT_NE(window, nullptr);
        GadgetListOpen(window);
        buttons[0] = ButtonCreate(GadgetBoom, 0, 580, 200, 20, "Boom");
        buttons[1] = ButtonCreate(GadgetContinuous, 200, 580, 200, 20, "Booo...m", BS_PUSHLIKE | BS_AUTOCHECKBOX);
        buttons[2] = ButtonCreate(GadgetDeleteAll, 400, 580, 200, 20, "Delete all Particle");
        EventDrain();  // what creation left behind
        FrameLoop = FrameLoopState{};
    }
    void TearDown() override {
        WindowShutdown();
        ObjectHeapDestroy();
        MainHeapTest::TearDown();
    }

    // The notification a completed click on a button sends to its window.
    void Click(int32_t gadget) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(gadget, BN_CLICKED), reinterpret_cast<LPARAM>(buttons[gadget]));
    }

    static size_t ParticleCount() {
        size_t count = 0;
        for (ListElement* e = ParticleList.header->first; e != nullptr; e = e->next) ++count;
        return count;
    }

    HWND window = nullptr;
    HWND buttons[3] = {};
};

TEST_F(FrameEvents, EmptyQueueEndsTheDrainAtOnce) {
    EventDrain();
    EXPECT_EQ(FrameLoop.LastEvent, 0);
    EXPECT_EQ(ParticleCount(), 0u);
}

TEST_F(FrameEvents, TwoClicksInOneDrainGiveTwoExplosionsWithTheNextSoundCopies) {
    Click(GadgetBoom);
    Click(GadgetBoom);
    EventDrain();
    EXPECT_EQ(ParticleCount(), 112u);
    EXPECT_EQ(SoundCopyIndex, 66);
    EXPECT_EQ(FrameLoop.QuitRequested, 0);
}

TEST_F(FrameEvents, DeleteThenBoomLeavesExactlyTheNewExplosion) {
    Explode(10, 10);
    Explode(20, 20);
    Click(GadgetDeleteAll);
    Click(GadgetBoom);
    EventDrain();
    EXPECT_EQ(ParticleCount(), 56u);
}

TEST_F(FrameEvents, CloseRequestDoesNotCutTheDrainShort) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    Click(GadgetBoom);
    EventDrain();
    EXPECT_EQ(FrameLoop.QuitRequested, 1);
    EXPECT_EQ(ParticleCount(), 56u);
    EXPECT_TRUE(IsWindow(window)) << "the close request leaves the window";
}

TEST_F(FrameEvents, ToggleFlipsContinuousModeOnEachClick) {
    Click(GadgetContinuous);
    EventDrain();
    EXPECT_EQ(FrameLoop.ContinuousMode, 1);
    Click(GadgetContinuous);
    Click(GadgetContinuous);
    Click(GadgetContinuous);
    EventDrain();
    EXPECT_EQ(FrameLoop.ContinuousMode, 0);
    EXPECT_EQ(ParticleCount(), 0u) << "the toggle itself starts nothing";
}

}  // namespace
