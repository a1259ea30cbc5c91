// Whether a file exists and can be read.
#pragma once

#include <string>

namespace qm {

class Files;

// True when the file opens for reading. A path ending with "\" has that one character
// dropped first. A folder, an unreadable or missing file, an empty path and a path with an
// embedded NUL (which the platform would silently cut short) give false; errors never
// propagate.
bool FileExists(Files& files, const std::string& path);

}  // namespace qm
