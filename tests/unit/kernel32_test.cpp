// The kernel32 part of the native stand-in.
#include <gtest/gtest.h>
#include <mmsystem.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "kernel32/modules.h"
#include "testing.h"

namespace {

TEST(Heap, ZeroMemoryAndDestroyGivesBackEveryBlock) {
    HANDLE heap = HeapCreate(0, 4000, 0);
    ASSERT_NE(heap, nullptr);
    for (int i = 0; i < 100; ++i) {
        unsigned char* block = static_cast<unsigned char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 100 + i));
        ASSERT_NE(block, nullptr);
        for (int k = 0; k < 100 + i; ++k) ASSERT_EQ(block[k], 0);
        std::memset(block, 0xEE, 100 + i);
    }
    EXPECT_EQ(PlatformHeapBlockCount(heap), 100u);
    EXPECT_TRUE(HeapDestroy(heap));  // the sanitizer build reports any block left behind
}

TEST(Heap, FreeGivesOneBlockBack) {
    HANDLE heap = HeapCreate(0, 0, 0);
    void* a = HeapAlloc(heap, 0, 10);
    void* b = HeapAlloc(heap, 0, 20);
    EXPECT_EQ(PlatformHeapBytesInUse(heap), 30u);
    EXPECT_TRUE(HeapFree(heap, 0, a));
    EXPECT_EQ(PlatformHeapBlockCount(heap), 1u);
    EXPECT_EQ(HeapSize(heap, 0, b), 20u);
    EXPECT_TRUE(HeapFree(heap, 0, nullptr));
    HeapDestroy(heap);
}

TEST(Heap, ReAllocKeepsContentsAndZeroFillsTheGrowth) {
    HANDLE heap = HeapCreate(0, 0, 0);
    unsigned char* block = static_cast<unsigned char*>(HeapAlloc(heap, 0, 8));
    std::memset(block, 0x5A, 8);
    block = static_cast<unsigned char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, 4096));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(block[i], 0x5A);
    for (int i = 8; i < 4096; ++i) ASSERT_EQ(block[i], 0) << i;
    EXPECT_EQ(HeapSize(heap, 0, block), 4096u);
    block = static_cast<unsigned char*>(HeapReAlloc(heap, 0, block, 4));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block[3], 0x5A);
    EXPECT_EQ(PlatformHeapBlockCount(heap), 1u);
    HeapDestroy(heap);
}

TEST(Heap, BadArgumentsFailCleanly) {
    HANDLE heap = HeapCreate(0, 0, 0);
    HANDLE other = HeapCreate(0, 0, 0);
    void* block = HeapAlloc(heap, 0, 16);
    EXPECT_FALSE(HeapFree(other, 0, block)) << "a block of another heap";
    EXPECT_FALSE(HeapDestroy(nullptr));
    EXPECT_EQ(HeapAlloc(nullptr, 0, 4), nullptr);
    EXPECT_EQ(HeapReAlloc(other, 0, block, 64), nullptr);
    EXPECT_EQ(HeapSize(heap, 0, nullptr), static_cast<SIZE_T>(-1));
    EXPECT_EQ(PlatformHeapBlockCount(heap), 1u);
    HeapDestroy(heap);
    HeapDestroy(other);
}

TEST(Heap, FixedMaximumRunsOut) {
    HANDLE heap = HeapCreate(0, 0, 1000);
    EXPECT_NE(HeapAlloc(heap, 0, 600), nullptr);
    EXPECT_EQ(HeapAlloc(heap, 0, 600), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_NE(HeapAlloc(heap, 0, 400), nullptr);
    HeapDestroy(heap);
}

TEST(Clock, VirtualClockMovesOnlyWhenToldAndWraps) {
    PlatformClockUseVirtual(0xFFFFFFF0u);
    EXPECT_TRUE(PlatformClockIsVirtual());
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    EXPECT_EQ(timeGetTime(), 0xFFFFFFF0u);
    usleep(20000);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    PlatformClockAdvance(0x20);
    EXPECT_EQ(GetTickCount(), 0x10u);
    PlatformClockSet(7);
    EXPECT_EQ(timeGetTime(), 7u);
    PlatformClockUseReal();
    EXPECT_FALSE(PlatformClockIsVirtual());
}

TEST(Clock, RealClockCountsMilliseconds) {
    const DWORD start = GetTickCount();
    usleep(50000);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 49u);
    EXPECT_LT(elapsed, 5000u);
    EXPECT_LE(static_cast<DWORD>(timeGetTime() - GetTickCount() + 1), 2u);
}

LONG_PTR EntryOne() { return 1; }
LONG_PTR EntryTwo() { return 2; }

class ModuleTable : public ::testing::Test {
protected:
    void SetUp() override {
        static const PlatformExport exports[] = {{"One", EntryOne}, {"Two", EntryTwo}};
        PlatformModuleRegister("TESTLIB.DLL", exports, 2);
    }
    void TearDown() override {
        PlatformModulesRestore();
        while (PlatformModuleLoadCount("testlib.dll") > 0) FreeLibrary(GetModuleHandleA("testlib.dll"));
    }
};

TEST_F(ModuleTable, LoadsByNameRegardlessOfCaseAndFindsEntries) {
    HMODULE module = LoadLibraryA("TestLib.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(LoadLibraryA("testlib"), module) << "no extension means .dll";
    EXPECT_EQ(PlatformModuleLoadCount("TESTLIB.dll"), 2);
    EXPECT_EQ(GetModuleHandleA("testlib.dll"), module);
    EXPECT_EQ(GetProcAddress(module, "One")(), 1);
    EXPECT_EQ(GetProcAddress(module, "Two")(), 2);
    EXPECT_EQ(GetProcAddress(module, "one"), nullptr) << "entry names are case-sensitive";
    EXPECT_EQ(GetProcAddress(module, "Three"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(FreeLibrary(module));
    EXPECT_EQ(GetProcAddress(module, "One"), nullptr) << "an unloaded library gives no entries";
    EXPECT_EQ(GetModuleHandleA("testlib.dll"), nullptr);
}

TEST_F(ModuleTable, UnknownOrWithdrawnLibraryDoesNotLoad) {
    EXPECT_EQ(LoadLibraryA("nosuch.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(LoadLibraryA(""), nullptr);
    EXPECT_TRUE(PlatformModuleWithdraw("testlib.dll"));
    EXPECT_EQ(LoadLibraryA("testlib.dll"), nullptr);
    PlatformModulesRestore();
    HMODULE module = LoadLibraryA("testlib.dll");
    EXPECT_NE(module, nullptr);
    FreeLibrary(module);
}

TEST_F(ModuleTable, WithdrawnEntryIsNotFound) {
    EXPECT_TRUE(PlatformModuleWithdrawEntry("testlib.dll", "Two"));
    EXPECT_FALSE(PlatformModuleWithdrawEntry("testlib.dll", "Three"));
    HMODULE module = LoadLibraryA("testlib.dll");
    EXPECT_NE(GetProcAddress(module, "One"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "Two"), nullptr);
    PlatformModulesRestore();
    EXPECT_NE(GetProcAddress(module, "Two"), nullptr);
    FreeLibrary(module);
}

TEST_F(ModuleTable, CopyUnderAnotherNameLoadsUntilRestored) {
    EXPECT_EQ(LoadLibraryA("testcopy.dll"), nullptr);
    EXPECT_TRUE(PlatformModuleAddCopy("TestCopy.dll", "testlib.dll"));
    HMODULE copy = LoadLibraryA("testcopy.dll");
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, LoadLibraryA("testlib.dll"));
    EXPECT_EQ(GetProcAddress(copy, "Two")(), 2);
    FreeLibrary(copy);
    FreeLibrary(GetModuleHandleA("testlib.dll"));
    PlatformModulesRestore();
    EXPECT_EQ(LoadLibraryA("testcopy.dll"), nullptr);
    EXPECT_TRUE(PlatformModuleAddCopy("TestCopy.dll", "testlib.dll")) << "a copy can be added again";
    EXPECT_FALSE(PlatformModuleAddCopy("testlib.dll", "testcopy.dll")) << "a real library is not replaced";
    PlatformModulesRestore();
}

TEST(Process, IdentityAndCommandLine) {
    EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr));
    EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));
    EXPECT_NE(GetCurrentThreadId(), 0u);
    const std::string line = GetCommandLineA();
    EXPECT_NE(line.find("platform_kernel32_tests"), std::string::npos) << line;
}

TEST(Process, ExitProcessEndsWithTheCode) {
    EXPECT_EXIT(ExitProcess(3), ::testing::ExitedWithCode(3), "");
    EXPECT_EXIT(ExitProcess(0), ::testing::ExitedWithCode(0), "");
}

}  // namespace
