// The advapi32 registry store against the real registry: what it writes is what the platform's
// own calls read back, and what it reads is what the settings expect of a read.
#include "tests/shell/registry_wine.h"
#include "vigil/shell/win32/advapi32_registry_store.h"

#include <gtest/gtest.h>

namespace {

using namespace registry_test;
using vigil::shell::win32::Advapi32RegistryStore;

const std::string kKey = "Software\\Vigil Store Test";

class Advapi32Store : public ::testing::Test {
protected:
    void SetUp() override { DeleteKeyTree(kKey); }
    void TearDown() override { DeleteKeyTree(kKey); }

    void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    Advapi32RegistryStore store;
};

TEST_F(Advapi32Store, WritesStringValuesThePlatformReadsBack) {
    EXPECT_FALSE(store.WriteValue(kKey, "first", "x")) << "the key does not exist yet";
    ASSERT_TRUE(store.CreateKey(kKey));
    EXPECT_TRUE(store.CreateKey(kKey)) << "creating an existing key succeeds";
    const std::string high = "caf\xE9 \xA3"
                             "5";
    EXPECT_TRUE(store.WriteValue(kKey, "WarnNoConnection", "1"));
    EXPECT_TRUE(store.WriteValue(kKey, "empty", ""));
    EXPECT_TRUE(store.WriteValue(kKey, "high", high));
    const std::string longText(100000, 'a');
    EXPECT_TRUE(store.WriteValue(kKey, "long", longText));

    RawValue raw;
    ASSERT_TRUE(QueryRaw(kKey, "WarnNoConnection", raw));
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.data, "1");
    ASSERT_TRUE(QueryRaw(kKey, "empty", raw));
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.data, "");
    ASSERT_TRUE(QueryRaw(kKey, "high", raw));
    EXPECT_EQ(raw.data, high);

    EXPECT_EQ(store.ReadValue(kKey, "warnnoconnection"), "1");
    EXPECT_EQ(store.ReadValue(kKey, "HIGH"), high);
    EXPECT_EQ(store.ReadValue(kKey, "long"), longText);
}

TEST_F(Advapi32Store, AbsentReadsAreEmptyAndUnreadableOnesError) {
    EXPECT_EQ(store.ReadValue(kKey, "anything"), "") << "no key";
    ASSERT_TRUE(store.CreateKey(kKey));
    EXPECT_EQ(store.ReadValue(kKey, "anything"), "") << "no value";
    const BYTE binary[] = {1, 2, 3};
    SetRaw("binary", REG_BINARY, binary, sizeof binary);
    EXPECT_EQ(store.ReadValue(kKey, "binary"), "Error");
    const DWORD number = 42;
    SetRaw("number", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(store.ReadValue(kKey, "number"), "42");
    // A string stored without its terminating NUL still reads whole.
    SetRaw("unterminated", REG_SZ, "abc", 3);
    EXPECT_EQ(store.ReadValue(kKey, "unterminated"), "abc");
}

TEST_F(Advapi32Store, DeletesOneValue) {
    ASSERT_TRUE(store.CreateKey(kKey));
    ASSERT_TRUE(store.WriteValue(kKey, "Vigil", "C:\\Vigil\\Vigil.EXE"));
    ASSERT_TRUE(store.WriteValue(kKey, "Other", "other"));
    EXPECT_TRUE(store.DeleteValue(kKey, "VIGIL"));
    EXPECT_FALSE(store.DeleteValue(kKey, "Vigil")) << "already gone";
    RawKey key = ReadRawKey(kKey);
    EXPECT_EQ(key.values.count("vigil"), 0u);
    EXPECT_EQ(key.values.count("other"), 1u);
}

TEST_F(Advapi32Store, OneOpenForAWholeSeriesOfWrites) {
    auto writer = store.OpenForWriting(kKey);
    ASSERT_NE(writer, nullptr) << "the key is created";
    for (int n = 0; n < 101; ++n)
        ASSERT_TRUE(
            writer->Write("WebSite" + std::to_string(n), "http://site" + std::to_string(n)));
    ASSERT_TRUE(writer->Write("webSite5", "rewritten")) << "the same value under another spelling";
    writer.reset();
    RawKey key = ReadRawKey(kKey);
    ASSERT_TRUE(key.exists);
    EXPECT_EQ(key.values.size(), 101u);
    EXPECT_EQ(key.values["website5"].data, "rewritten");
    EXPECT_EQ(key.values["website100"].data, "http://site100");
    EXPECT_EQ(key.values["website100"].type, static_cast<DWORD>(REG_SZ));
}

FILETIME LastWrite(const std::string& path) {
    FILETIME time{};
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) ==
        ERROR_SUCCESS) {
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr, &time);
        RegCloseKey(key);
    }
    return time;
}

bool operator==(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

TEST_F(Advapi32Store, ARepeatedSeriesRewritesWhatOthersChangedAndLeavesTheRestAlone) {
    auto save = [this](const std::string& b) {
        auto writer = store.OpenForWriting(kKey);
        ASSERT_NE(writer, nullptr);
        EXPECT_TRUE(writer->Write("a", "1"));
        EXPECT_TRUE(writer->Write("b", b));
    };
    save("2");
    const FILETIME afterFirst = LastWrite(kKey);
    save("2");
    EXPECT_TRUE(LastWrite(kKey) == afterFirst) << "nothing changed, nothing written";

    // Someone else changes and deletes values (a while later, so the key's time moves on).
    Sleep(50);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey.c_str(), 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    RegSetValueExA(key, "a", 0, REG_SZ, reinterpret_cast<const BYTE*>("other"), 6);
    RegDeleteValueA(key, "b");
    RegCloseKey(key);
    save("2");
    EXPECT_EQ(store.ReadValue(kKey, "a"), "1");
    EXPECT_EQ(store.ReadValue(kKey, "b"), "2");

    // A write through the store's other path is seen as well.
    Sleep(50);
    ASSERT_TRUE(store.WriteValue(kKey, "b", "3"));
    save("2");
    EXPECT_EQ(store.ReadValue(kKey, "b"), "2");
    save("4");
    EXPECT_EQ(store.ReadValue(kKey, "b"), "4");
}

} // namespace
