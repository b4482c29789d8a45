#pragma once
// Port: the few file operations the engine needs. Paths use backslashes and are relative to
// the working directory unless they say otherwise.
#include <optional>
#include <string>

namespace vigil::engine {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The working directory, without a trailing backslash unless it is a drive's root.
    virtual std::string CurrentDirectory() const = 0;
    // Creates or overwrites the file with exactly these bytes; false when that failed.
    virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
    // The whole file's bytes; nullopt when it is absent or can't be read. The default suits a
    // file system that holds nothing to read.
    virtual std::optional<std::string> ReadWholeFile(const std::string& /*path*/) const {
        return std::nullopt;
    }
};

} // namespace vigil::engine
