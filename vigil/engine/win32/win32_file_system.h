#pragma once
// Files through kernel32, in the working directory the program runs in.
#include "vigil/engine/file_system.h"

#include <optional>

namespace vigil::engine::win32 {

class Win32FileSystem : public FileSystem {
public:
    std::string CurrentDirectory() const override;
    bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
    std::optional<std::string> ReadWholeFile(const std::string& path) const override;
};

} // namespace vigil::engine::win32
