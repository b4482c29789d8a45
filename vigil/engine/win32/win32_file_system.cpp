#include "vigil/engine/win32/win32_file_system.h"

#include "common/win32/handles.h"

#include <windows.h>

namespace vigil::engine::win32 {

std::string Win32FileSystem::CurrentDirectory() const {
    DWORD size = GetCurrentDirectoryA(0, nullptr);
    if (size == 0)
        return {};
    std::string folder(size, '\0');
    DWORD length = GetCurrentDirectoryA(size, folder.data());
    folder.resize(length < size ? length : 0);
    return folder;
}

bool Win32FileSystem::WriteWholeFile(const std::string& path, const std::string& bytes) {
    common::UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        DWORD piece = bytes.size() - written > 0x40000000u
                          ? 0x40000000u
                          : static_cast<DWORD>(bytes.size() - written);
        DWORD done = 0;
        if (!WriteFile(file.Get(), bytes.data() + written, piece, &done, nullptr) || done == 0)
            return false;
        written += done;
    }
    return true;
}

std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::string& path) const {
    common::UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    std::string bytes;
    char piece[16384];
    for (;;) {
        DWORD done = 0;
        if (!ReadFile(file.Get(), piece, sizeof piece, &done, nullptr))
            return std::nullopt;
        if (done == 0)
            return bytes;
        bytes.append(piece, done);
    }
}

} // namespace vigil::engine::win32
