#pragma once
// Running the built mozu-thumbnailer and mozu-cli in a temporary folder, and reading the PNG
// files they write.

#include <string>
#include <vector>

#include "colour/picture.h"
#include "tests/support/temp_dir.h"

namespace mozu::test {

struct ProgramRun {
    int status;
    std::string err;
};

// Runs `program` with `args` in `dir`; stderr is captured, stdout dropped.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const TempDir& dir);
inline ProgramRun RunThumbnailer(const std::vector<std::string>& args, const TempDir& dir) {
    return RunProgram(MOZU_THUMBNAILER_PATH, args, dir);
}
inline ProgramRun RunCli(const std::vector<std::string>& args, const TempDir& dir) {
    return RunProgram(MOZU_CLI_PATH, args, dir);
}

// A PNG file decoded by libpng; an empty picture if it is no PNG.
Picture ReadPng(const std::string& path);

}  // namespace mozu::test
