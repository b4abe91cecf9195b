#pragma once
// Running the built mozu-cli in a temporary folder, and what its tests check the files with.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/bmp_file.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace mozu::test {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// Runs mozu-cli with `args` in `dir`; stdout and stderr are captured.
CliRun RunCli(const std::vector<std::string>& args, const TempDir& dir);

// Width and height from a PNG file's header; {0, 0} if it is no PNG.
std::pair<int, int> PngSize(const std::string& path);

// The size of a SymbOS graphics file of a w x h picture: its strips' headers and rows and the
// three end bytes.
std::uintmax_t SgxFileSize(int w, int h, bool sixteenColours);

}  // namespace mozu::test
