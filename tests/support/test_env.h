#pragma once
// Where a Wine test finds the build: the variables ctest sets, as Windows paths.
#include <string>

namespace testenv {

// "/a/b" -> "Z:\a\b": Wine maps the Unix root to drive Z.
std::string WindowsPath(const std::string& unixPath);
// The build tree (VIGIL_BINARY_DIR) and the source tree (VIGIL_SOURCE_DIR) as Windows paths.
std::string BinaryDir();
std::string SourceDir();

} // namespace testenv
