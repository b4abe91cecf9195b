// The main of a fuzz target built without libFuzzer: runs the target once on every file named,
// and on every file in every folder named (recursively, in name order), so that the GCC trees
// and Valgrind replay the corpora and the crash files. Exit status 0 when all returned.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void RunOne(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
    // A copy of exactly the input's size, so that a read past its end is seen.
    std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
    std::uint8_t* data = input.empty() ? nullptr : input.data();
    LLVMFuzzerTestOneInput(data, input.size());
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        if (!arg.empty() && arg.string()[0] == '-') continue;  // libFuzzer's options
        std::vector<std::filesystem::path> files;
        if (!std::filesystem::exists(arg)) continue;
        if (std::filesystem::is_directory(arg)) {
            for (const auto& e : std::filesystem::recursive_directory_iterator(arg))
                if (e.is_regular_file()) files.push_back(e.path());
            std::sort(files.begin(), files.end());
        } else {
            files.push_back(arg);
        }
        for (const auto& f : files) {
            RunOne(f);
            ++count;
        }
    }
    std::printf("replayed %zu inputs\n", count);
    return 0;
}
