#include "vigil/shell/registry_layout.h"
#include "vigil/shell/settings_store.h"
#include "vigil/shell/tests/fake_registry_store.h"

#include <gtest/gtest.h>

namespace vigil::shell {
namespace {

class FixedScreen : public ScreenMetrics {
public:
    double WidthTwips() const override { return 1024 * 15; }
    double HeightTwips() const override { return 768 * 15; }
};

class SettingsRegistryTest : public ::testing::Test {
protected:
    forms::Windows windows;
    fakes::RegistryStoreFake registry;
    FixedScreen screen;
    SettingsStore store{windows, registry, screen};
};

TEST_F(SettingsRegistryTest, WriteSettingCreatesTheKeyBeforeEveryWrite) {
    store.WriteSetting("intervalMins", "7");
    store.WriteSetting("intervalHours", "1");
    EXPECT_EQ(registry.creates, 2);
    EXPECT_EQ(store.ReadSetting("intervalMins"), "7");
    EXPECT_EQ(store.ReadSetting("INTERVALHOURS"), "1");
}

TEST_F(SettingsRegistryTest, ReadsOfAbsentValuesAreEmpty) {
    EXPECT_EQ(store.ReadSetting("top"), "");
    EXPECT_EQ(store.ReadLocaleSetting("Path"), "");
    EXPECT_EQ(store.ReadRunEntry("Vigil"), "");
    registry.Set(kLocaleKey, "Path", "C:\\Vigil\\x");
    registry.Set(kRunKey, "vigil", "C:\\Vigil\\Vigil.EXE");
    EXPECT_EQ(store.ReadLocaleSetting("path"), "C:\\Vigil\\x");
    EXPECT_EQ(store.ReadRunEntry("Vigil"), "C:\\Vigil\\Vigil.EXE");
    // Each procedure reads its own key only.
    EXPECT_EQ(store.ReadSetting("Path"), "");
}

TEST(RunEntryPathTest, IsBuiltFromTheInstallersPath) {
    struct Case {
        const char* path;
        std::optional<std::string> entry;
    } cases[] = {
        {"C:\\Program Files\\Vigil\\x", "C:\\Program Files\\Vigil\\Vigil.EXE"},
        {"  C:\\Vigil\\.  ", "C:\\Vigil\\Vigil.EXE"},
        {"C:\\Vigil\\", "C:\\Vigil\\Vigil.EXE"}, // its last character is removed, then "\" added
        {"C:\\Vigil ", "C:\\Vigi\\Vigil.EXE"},
        {"C:\\Vigil x", "C:\\Vigil\\Vigil.EXE"}, // the blank left before the "\" is trimmed
        {"x", "\\Vigil.EXE"},
        {"", std::nullopt},
        {"Error", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(RunEntryPath(c.path), c.entry);
    }
}

TEST_F(SettingsRegistryTest, AddRunEntryWritesTheRunValueWithoutCreatingTheKey) {
    registry.Set(kLocaleKey, "Path", "C:\\Vigil\\x");
    registry.Set(kRunKey, "Other", "other.exe");
    EXPECT_TRUE(store.AddRunEntry());
    EXPECT_EQ(registry.ReadValue(kRunKey, "Vigil"), "C:\\Vigil\\Vigil.EXE");
    EXPECT_EQ(registry.creates, 0);
    EXPECT_EQ(registry.ReadValue(kRunKey, "Other"), "other.exe");
}

TEST_F(SettingsRegistryTest, AddRunEntryWithoutAnInstallPathWritesNothing) {
    registry.Set(kRunKey, "Other", "other.exe");
    EXPECT_FALSE(store.AddRunEntry());
    registry.Set(kLocaleKey, "Path", "Error");
    EXPECT_FALSE(store.AddRunEntry());
    EXPECT_TRUE(registry.writes.empty());
    EXPECT_FALSE(registry.Has(kRunKey, "Vigil"));
}

TEST_F(SettingsRegistryTest, RemoveRunEntryDeletesTheValueNamedByTheFileName) {
    registry.Set(kRunKey, "Vigil", "C:\\Vigil\\Vigil.EXE");
    registry.Set(kRunKey, "Other", "other.exe");
    store.RemoveRunEntry("C:\\Program Files\\Vigil\\Vigil.exe");
    EXPECT_FALSE(registry.Has(kRunKey, "Vigil"));
    EXPECT_TRUE(registry.Has(kRunKey, "Other"));
}

TEST_F(SettingsRegistryTest, RemoveRunEntryNeverDeletesTheKeysDefaultValue) {
    registry.Set(kRunKey, "", "default");
    for (const char* path : {"C:\\Vigil\\", "C:\\Vigil\\.exe", "", "x"})
        store.RemoveRunEntry(path);
    EXPECT_TRUE(registry.Has(kRunKey, ""));
}

TEST(FileNamePartTest, IsTheTextAfterTheLastBackslash) {
    struct Case {
        const char* path;
        const char* part;
    } cases[] = {
        {"C:\\Program Files\\Vigil\\Vigil.exe", "Vigil.exe"},
        {"C:\\Vigil\\", ""},
        {"\\Vigil.exe", "Vigil.exe"},
        {"Vigil.exe", "igil.exe"}, // no "\": from the second character on
        {"V", ""},
        {"", ""},
        {"C:/Vigil/Vigil.exe", ":/Vigil/Vigil.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FileNamePart(c.path), c.part);
    }
}

} // namespace
} // namespace vigil::shell
