// A host program that carries no engine resources of its own loads the
// engine as a library: the media-player glyphs come from the engine's module.
#include <gtest/gtest.h>
#include <windows.h>

TEST(EngineInALibrary, MediaPlayerGlyphsComeFromTheEnginesOwnModule) {
    HMODULE engine = LoadLibraryW(L"test_mp_glyphs_dll.dll");
    ASSERT_TRUE(engine) << GetLastError();
    // Nothing of the kind in the host: a lookup in the program would find nothing.
    EXPECT_FALSE(FindResourceW(GetModuleHandleW(nullptr), L"EN_MPPLAY", MAKEINTRESOURCEW(2)));
    using Count = int (*)();
    auto count = reinterpret_cast<Count>(reinterpret_cast<void*>(GetProcAddress(engine, "qs_media_player_glyphs")));
    ASSERT_TRUE(count);
    // Nine buttons, each enabled, disabled and coloured.
    EXPECT_EQ(count(), 27);
    FreeLibrary(engine);
}
