#pragma once
// Starts the real Vigil.exe on a registry without its settings, and finds its windows.
#include "tests/support/remote_process.h"
#include "tests/support/test_env.h"
#include "vigil/shell/win32/control_ids.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vigiltest {

inline const char kMainCaption[] = "Vigil - Tessaly Ltd";

// Removes every stored setting of the program, so each test starts as a first run.
inline void ForgetSettings() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Vigil Settings");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Vigil Locale");
}

inline std::string ReadSetting(const std::string& name) {
    char value[1024] = {};
    DWORD size = sizeof(value) - 1;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Vigil Settings", name.c_str(), RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS)
        return "<absent>";
    return value;
}

inline void WriteSetting(const std::string& name, const std::string& text) {
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Vigil Settings", name.c_str(), REG_SZ,
                    text.c_str(), static_cast<DWORD>(text.size() + 1));
}

inline std::unique_ptr<testenv::RemoteProcess> StartVigil(const std::string& arguments = {}) {
    const std::string folder = testenv::BinaryDir() + "\\vigil";
    return std::make_unique<testenv::RemoteProcess>(
        "\"" + folder + "\\Vigil.exe\"" + (arguments.empty() ? "" : " " + arguments), folder);
}

// A control of a page (or sub-page) of the main window.
inline HWND PageItem(HWND main, int page, int id) {
    return GetDlgItem(GetDlgItem(main, page), id);
}

inline HWND SubPageItem(HWND main, int page, int subPage, int id) {
    return GetDlgItem(GetDlgItem(GetDlgItem(main, page), subPage), id);
}

// A button's click as the user's: the parent receives BN_CLICKED from the button itself.
inline void Click(HWND button) {
    SendMessageA(button, BM_CLICK, 0, 0);
}

// The text with its mnemonic marks taken out.
inline std::string Plain(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

} // namespace vigiltest
