// Files of the source tree (the stored form layout above all) for the tools that run against
// it: unit tests, benchmarks and the headless renderer. The including target defines
// VARNEL_SOURCE_DIR as the repository's root.
#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#ifndef VARNEL_SOURCE_DIR
#error "VARNEL_SOURCE_DIR must name the source tree's root"
#endif

namespace testing_support {

// The whole file at `relative` (to the source tree's root); throws when it cannot be read, so
// a missing file is never mistaken for an empty one.
inline std::string ReadSourceFile(const std::string& relative) {
    const std::string path = std::string(VARNEL_SOURCE_DIR) + "/" + relative;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace testing_support
