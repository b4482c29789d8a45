// Vigil.exe keeps its settings below HKEY_LOCAL_MACHINE. A standard user can't write there; a
// 32-bit program whose manifest asks for no execution level has those writes kept per user by
// the system instead (registry virtualisation) and goes on working. Asking for any level,
// "asInvoker" included, turns that off, so the program's manifest, if it has one, must not.
#include "tests/support/test_env.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Manifests {
    std::string text;
    int count = 0;
};

BOOL CALLBACK CollectManifest(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param) {
    auto& found = *reinterpret_cast<Manifests*>(param);
    HRSRC info = FindResourceA(module, name, type);
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    if (data) {
        const char* bytes = static_cast<const char*>(LockResource(data));
        found.text.append(bytes, SizeofResource(module, info));
        ++found.count;
    }
    return TRUE;
}

TEST(VigilManifest, AsksForNoExecutionLevel) {
    const std::string path = testenv::BinaryDir() + "\\vigil\\Vigil.exe";
    HMODULE exe = LoadLibraryExA(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr) << "could not open " << path;
    Manifests found;
    EnumResourceNamesA(exe, MAKEINTRESOURCEA(24) /* RT_MANIFEST */, CollectManifest,
                       reinterpret_cast<LONG_PTR>(&found));
    FreeLibrary(exe);
    // No manifest at all is a legacy program, which is virtualised too.
    EXPECT_EQ(found.text.find("requestedExecutionLevel"), std::string::npos) << found.text;
    EXPECT_EQ(found.text.find("requestedPrivileges"), std::string::npos) << found.text;
}

} // namespace
