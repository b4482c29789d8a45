#pragma once
// Port: the few file operations the engine needs. Paths use backslashes and are relative to
// the working directory unless they say otherwise.
#include <string>

namespace vigil::engine {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The working directory, without a trailing backslash unless it is a drive's root.
    virtual std::string CurrentDirectory() const = 0;
    // Creates or overwrites the file with exactly these bytes; false when that failed.
    virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
};

} // namespace vigil::engine
