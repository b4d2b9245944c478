// Shared set-up of the window layer tests: a fresh MainHeap and ObjectHeap,
// the layer started as the program starts it, and everything closed again.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "runtime/runtime.h"
#include "window/window.h"

class WindowLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        MainHeap = HeapCreate(0, 4000, 0);
        ASSERT_NE(MainHeap, nullptr);
        ObjectHeapCreate();
        WindowInit();
        GadgetInit();
        MessageBoxInit();
        ReleaseKeys();
    }
    void TearDown() override {
        ReleaseKeys();
        WindowShutdown();
        Drain();
        ObjectHeapDestroy();
        HeapDestroy(MainHeap);
        MainHeap = nullptr;
    }

    // Every event until the queue is empty.
    static std::vector<int32_t> Drain() {
        std::vector<int32_t> events;
        for (int i = 0; i < 10000; ++i) {
            const int32_t event = EventPoll();
            if (event == EventKindNone) break;
            events.push_back(event);
        }
        return events;
    }

    static int Count(const std::vector<int32_t>& events, int32_t code) {
        return static_cast<int>(std::count(events.begin(), events.end(), code));
    }

    // The thread's keyboard state with every key up, or with Shift held.
    static void ReleaseKeys() {
        BYTE keys[256] = {};
        SetKeyboardState(keys);
    }
    static void HoldShift() {
        BYTE keys[256] = {};
        keys[VK_SHIFT] = 0x80;
        keys[VK_LSHIFT] = 0x80;
        SetKeyboardState(keys);
    }

    // The application's window and layout.
    HWND OpenDemoLayout() {
        HWND window = WindowOpen(0, 0, 0, 600, 600, 0xCA0001, "");
        EXPECT_NE(window, nullptr);
        GadgetListOpen(window);
        container = ContainerCreate(4, 0, 0, 600, 580);
        GadgetListClose();
        buttons[0] = ButtonCreate(0, 0, 580, 200, 20, "Boom");
        buttons[1] = ButtonCreate(1, 200, 580, 200, 20, "Booo...m", 0x1003);
        buttons[2] = ButtonCreate(2, 400, 580, 200, 20, "Delete all Particle");
        return window;
    }

    // A click as a posted button-down and button-up at client points of `window`.
    static void PostClick(HWND window, int downX, int downY, int upX, int upY) {
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(downX, downY));
        PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(upX, upY));
    }

    static void PostKey(HWND window, WPARAM key) {
        PostMessageA(window, WM_KEYDOWN, key, 0x00000001);
        PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    }

    HWND container = nullptr;
    HWND buttons[3] = {};
};
