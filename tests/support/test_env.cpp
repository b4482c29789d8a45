#include "tests/support/test_env.h"

#include <cstdlib>

namespace testenv {

std::string WindowsPath(const std::string& unixPath) {
    if (unixPath.empty() || unixPath[0] != '/')
        return unixPath;
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

static std::string FromEnv(const char* name) {
    const char* value = std::getenv(name);
    return value ? WindowsPath(value) : std::string();
}

std::string BinaryDir() {
    return FromEnv("VIGIL_BINARY_DIR");
}
std::string SourceDir() {
    return FromEnv("VIGIL_SOURCE_DIR");
}

} // namespace testenv
