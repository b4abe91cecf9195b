// Every file Mozu writes, pinned byte for byte: mozu-cli converts the bundled photograph to every
// format with and without each adjustment, a few-colour picture exactly, and a small made video
// to SymbOS videos of 4 and 16 colours. Each file is pinned as FNV-1a 64 of its bytes and its
// size. A change to any writer, conversion step or adjustment that alters a single byte of what
// users get shows up here, whatever the unit tests of the step say.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_helpers.h"
#include "tests/support/ffmpeg_test_video.h"

namespace mozu {
namespace {

using test::CliRun;
using test::RunCli;
using test::TempDir;

struct Pinned {
    std::uint64_t fnv;
    std::uintmax_t size;
    bool operator==(const Pinned&) const = default;
};
using FileSums = std::map<std::string, Pinned>;

Pinned Sum(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    return {h, bytes.size()};
}

// The sums of the files a run wrote, by file name; the inputs are left out.
FileSums SumsOf(const TempDir& dir, const std::vector<std::string>& inputs) {
    FileSums sums;
    for (const std::string& name : dir.files())
        if (std::find(inputs.begin(), inputs.end(), name) == inputs.end())
            sums[name] = Sum(dir / name);
    return sums;
}

// The table as source text, so that a deliberate change of output can be pinned anew.
std::string AsSource(const FileSums& sums) {
    std::ostringstream s;
    for (const auto& [name, p] : sums)
        s << "        {\"" << name << "\", {0x" << std::hex << p.fnv << "ull, " << std::dec
          << p.size << "}},\n";
    return s.str();
}

FileSums ConvertSample(const std::vector<std::string>& extra) {
    TempDir dir;
    std::vector<std::string> args = {
        "convert", std::string(MOZU_SOURCE_DIR) + "/samples/sample.jpg", "-o", "sample", "--format",
        "all"};
    args.insert(args.end(), extra.begin(), extra.end());
    const CliRun run = RunCli(args, dir);
    EXPECT_EQ(run.status, 0) << run.err;
    return SumsOf(dir, {});
}

// Every format of the photograph: modes 0-2, overscan 0-2 with the two level files, the four
// SymbOS graphics. Dithered throughout (the photograph has far more colours than pens).
TEST(GoldenFiles, SamplePhotographEveryFormat) {
    const FileSums expected = {
        {"sample0.lvl", {0xfc9734784896778bull, 26752}},
        {"sample0.rim", {0x9498227fca85e90bull, 16512}},
        {"sample0.sca", {0x844e59c144025cefull, 24834}},
        {"sample1.lvl", {0xb97e5256a4f04c69ull, 26752}},
        {"sample1.rim", {0xdc544376666e71e2ull, 16512}},
        {"sample1.sca", {0x503e41a19b02352cull, 24834}},
        {"sample1.sgx", {0xaca09e645828ed91ull, 64019}},
        {"sample2.rim", {0x537e36198ec102fdull, 16512}},
        {"sample2.sca", {0x14074af2ff05137dull, 24834}},
        {"sample7.sgx", {0x38815495c3df6e09ull, 54291}},
        {"sampleC.sgx", {0xcab9d1d9aaa2c2bbull, 16019}},
        {"sampleM.sgx", {0xf3e6ce0fc07bbb33ull, 64019}},
    };
    const FileSums got = ConvertSample({});
    EXPECT_EQ(got, expected) << AsSource(got);
}

// Each adjustment once, then every format: adjustments change the source before conversion.
TEST(GoldenFiles, SamplePhotographAfterEachAdjustment) {
    const std::map<std::string, FileSums> expected = {
        {"--autobalance",
         {
             {"sample0.lvl", {0xd3db29900a6169bull, 26752}},
             {"sample0.rim", {0xc526c0827fe71773ull, 16512}},
             {"sample0.sca", {0xaa87fd598d32b539ull, 24834}},
             {"sample1.lvl", {0xb6ff15a432510430ull, 26752}},
             {"sample1.rim", {0x6cd496c237820b23ull, 16512}},
             {"sample1.sca", {0x98f570ef0564de48ull, 24834}},
             {"sample1.sgx", {0x151a90fbc58c53d9ull, 64019}},
             {"sample2.rim", {0x47a3d058323b4941ull, 16512}},
             {"sample2.sca", {0x56516b7f7e922cf3ull, 24834}},
             {"sample7.sgx", {0x8c070a9790d5eeecull, 54291}},
             {"sampleC.sgx", {0x1df30fe0d2024479ull, 16019}},
             {"sampleM.sgx", {0xb0e90df8599250ddull, 64019}},
         }},
        {"--brighter",
         {
             {"sample0.lvl", {0x206cf9157134d846ull, 26752}},
             {"sample0.rim", {0x53a17558f9dbc220ull, 16512}},
             {"sample0.sca", {0x1f7e45a6b3b908a0ull, 24834}},
             {"sample1.lvl", {0xb725d785f84a0098ull, 26752}},
             {"sample1.rim", {0x5185d3efaba4ba3bull, 16512}},
             {"sample1.sca", {0xe248f14ed2e0b58aull, 24834}},
             {"sample1.sgx", {0xb38009fb3866e6f5ull, 64019}},
             {"sample2.rim", {0xcfeab27c256bf58cull, 16512}},
             {"sample2.sca", {0x8a37fd29e2fb8ad2ull, 24834}},
             {"sample7.sgx", {0x95870ef236e81173ull, 54291}},
             {"sampleC.sgx", {0xc9f57eb8b592fea4ull, 16019}},
             {"sampleM.sgx", {0x67fcab0049e01431ull, 64019}},
         }},
        {"--darker",
         {
             {"sample0.lvl", {0xadcb5e6b996fef3aull, 26752}},
             {"sample0.rim", {0xf0bfc86fa4480569ull, 16512}},
             {"sample0.sca", {0xfd4074a488f35b74ull, 24834}},
             {"sample1.lvl", {0x8618a017168f7bd7ull, 26752}},
             {"sample1.rim", {0x52c8e7569c33680dull, 16512}},
             {"sample1.sca", {0x285194a2971d0b55ull, 24834}},
             {"sample1.sgx", {0xb8aaaf39c76b85f0ull, 64019}},
             {"sample2.rim", {0xbd3956646698bd66ull, 16512}},
             {"sample2.sca", {0x75367aad12e46189ull, 24834}},
             {"sample7.sgx", {0x7856c702b56b649dull, 54291}},
             {"sampleC.sgx", {0x496babec8ec7d13ull, 16019}},
             {"sampleM.sgx", {0xdbed5867123a8caaull, 64019}},
         }},
        {"--more-contrast",
         {
             {"sample0.lvl", {0x153943034c5b1706ull, 26752}},
             {"sample0.rim", {0x6850733f0dafc396ull, 16512}},
             {"sample0.sca", {0x255fb2e3de5139f9ull, 24834}},
             {"sample1.lvl", {0xe922586f0cf448faull, 26752}},
             {"sample1.rim", {0x74c9ba3af9b58b59ull, 16512}},
             {"sample1.sca", {0x20c8e87cbdbb16c3ull, 24834}},
             {"sample1.sgx", {0xb23e752220dec28dull, 64019}},
             {"sample2.rim", {0x133a10ed5ac63df7ull, 16512}},
             {"sample2.sca", {0xf6a90e2daa297115ull, 24834}},
             {"sample7.sgx", {0xd0590774f06bf4f4ull, 54291}},
             {"sampleC.sgx", {0xd7f2fd5cadaea433ull, 16019}},
             {"sampleM.sgx", {0x8654c1d567907dfull, 64019}},
         }},
        {"--less-contrast",
         {
             {"sample0.lvl", {0x6158dcc65e26bec3ull, 26752}},
             {"sample0.rim", {0x626f0ce5f23f4a29ull, 16512}},
             {"sample0.sca", {0x95a5f3e43e3bcdfdull, 24834}},
             {"sample1.lvl", {0xf2a59d37b43fb0f9ull, 26752}},
             {"sample1.rim", {0xb3bb4d0af9b1e053ull, 16512}},
             {"sample1.sca", {0xfc1ee1f5577b7c66ull, 24834}},
             {"sample1.sgx", {0xd9e4dc22ff94f856ull, 64019}},
             {"sample2.rim", {0x9b17858569b7c275ull, 16512}},
             {"sample2.sca", {0x4c3cea127807c05full, 24834}},
             {"sample7.sgx", {0x19571dd500bf936full, 54291}},
             {"sampleC.sgx", {0xfd07d1c937506d72ull, 16019}},
             {"sampleM.sgx", {0xf4f91c9c8a419cb0ull, 64019}},
         }},
    };
    for (const std::vector<std::string>& extra :
         std::vector<std::vector<std::string>>{{"--autobalance"},
                                               {"--brighter", "2"},
                                               {"--darker", "2"},
                                               {"--more-contrast", "2"},
                                               {"--less-contrast", "2"}}) {
        const FileSums got = ConvertSample(extra);
        const auto it = expected.find(extra[0]);
        if (it == expected.end()) {
            ADD_FAILURE() << "nothing pinned for " << extra[0] << "\n" << AsSource(got);
            continue;
        }
        EXPECT_EQ(got, it->second) << extra[0] << "\n" << AsSource(got);
    }
}

// A picture of four colours converts exactly (no dithering) to every format that has four or
// more pens; the two-pen formats dither it.
TEST(GoldenFiles, FewColourPictureConvertsExactly) {
    TempDir dir;
    Picture p(200, 120);
    const Colour colours[] = {MakeColour(0, 0, 0), MakeColour(255, 0, 0), MakeColour(0, 128, 255),
                              MakeColour(255, 255, 128)};
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            p.setPixel(x, y, colours[((x / 13) + (y / 7) * 3 + (x * y) / 97) % 4]);
    test::WriteBmp24(dir / "four.bmp", p);
    const CliRun run = RunCli({"convert", "four.bmp", "-o", "four", "--format", "all"}, dir);
    ASSERT_EQ(run.status, 0) << run.err;
    const FileSums expected = {
        {"four0.lvl", {0x61b7427d134400c6ull, 26752}},
        {"four0.rim", {0xc7d092bce2783279ull, 16512}},
        {"four0.sca", {0x853676d577a7626bull, 24834}},
        {"four1.lvl", {0x1053d222d95de008ull, 26752}},
        {"four1.rim", {0x24f84cf534264491ull, 16512}},
        {"four1.sca", {0xa1605ead70c2376dull, 24834}},
        {"four1.sgx", {0xa5e8604a3d88bfa3ull, 6011}},
        {"four2.rim", {0x934538f6e8b2c5eeull, 16512}},
        {"four2.sca", {0x664c269c5a435d7aull, 24834}},
        {"four7.sgx", {0x17b1f049f56383a9ull, 54291}},
        {"fourC.sgx", {0x8d229c02abff9d8ull, 16019}},
        {"fourM.sgx", {0x930db5d755b67ea0ull, 6011}},
    };
    const FileSums got = SumsOf(dir, {"four.bmp"});
    EXPECT_EQ(got, expected) << AsSource(got);
}

// A made video of moving bands, converted in 4 and 16 colours (and 4 with autobalance). The
// information text is given: by default it carries the day of the conversion.
TEST(GoldenFiles, MadeVideoInFourAndSixteenColours) {
    if (!test::HasVideoEncoder("mpeg4")) GTEST_SKIP() << "no mpeg4 encoder";
    TempDir dir;
    test::TestVideoRecipe recipe;
    recipe.encoder = "mpeg4";
    recipe.width = 96;
    recipe.height = 72;
    recipe.frames = 24;
    test::WriteTestVideo(dir / "clip.avi", recipe, [](int frame, Picture& p) {
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                p.setPixel(x, y,
                           MakeColour((x * 8 + frame * 10) & 255, (y * 3 + 40) & 255,
                                      ((x + y) * 4 + frame * 5) & 255));
    });
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"video", "clip.avi", "-o", "four", "--colors", "4", "--title", "Bands", "--info",
              "Converted with Mozu 9 Dec 2026"},
             {"video", "clip.avi", "-o", "sixteen", "--colors", "16", "--title", "Bands", "--info",
              "Converted with Mozu 9 Dec 2026"},
             {"video", "clip.avi", "-o", "balance", "--autobalance", "--start", "2", "--end", "20",
              "--title", "Bands", "--info", "Converted with Mozu 9 Dec 2026"}}) {
        const CliRun run = RunCli(args, dir);
        ASSERT_EQ(run.status, 0) << args[3] << ": " << run.err;
    }
    const FileSums expected = {
        {"balance.vid", {0x34b488d04cab80e2ull, 65024}},
        {"four.vid", {0xc789cfe3271cd850ull, 86528}},
        {"sixteen.vid", {0xd185af348caf1231ull, 135680}},
    };
    const FileSums got = SumsOf(dir, {"clip.avi"});
    EXPECT_EQ(got, expected) << AsSource(got);
}

}  // namespace
}  // namespace mozu
