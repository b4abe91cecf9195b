// AMSDOS names, headers and the existing-file check.
#include <gtest/gtest.h>

#include "formats/amsdos_header.h"
#include "formats/file_name.h"
#include "formats/formats_test_helpers.h"
#include "platform/io_error.h"

namespace mozu {
namespace {

using test::ScriptedAsker;
using test::TempDir;

TEST(AMSname, FirstSevenCharactersOfTheStem) {
    EXPECT_EQ(AMSname("/pics/sunset0.rim"), "sunset0");
    EXPECT_EQ(AMSname("/pics/holiday0.rim"), "holiday");
    EXPECT_EQ(AMSname("/pics/a.b.c"), "a");
    EXPECT_EQ(AMSname("/pics/longername.sgx"), "longern");
    EXPECT_EQ(AMSname("Pic0.rim"), "Pic0");     // case kept, no folder
    EXPECT_EQ(AMSname("/pi.cs/x0.rim"), "x0");  // dots of folders do not count
    EXPECT_EQ(AMSname("/pics/0.rim"), "0");
    // Cut by bytes, but never inside a UTF-8 character: "zażółć" is z a ż(2) ó(2) ł(2) ć(2).
    EXPECT_EQ(AMSname("/pics/za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87.rim"), "za\xC5\xBC\xC3\xB3");
}

TEST(AmsdosHeader, ScreenHeaderOfPIC) {
    const auto h = MakeAmsdosHeader("PIC", kScreenFileHeader);
    ASSERT_EQ(h.size(), 128u);
    EXPECT_EQ(h[0], 0);
    EXPECT_EQ(h[1], 'P');
    EXPECT_EQ(h[2], 'I');
    EXPECT_EQ(h[3], 'C');
    EXPECT_EQ(h[4], 0);
    EXPECT_EQ(h[18], 2);
    EXPECT_EQ(h[19], 0);
    EXPECT_EQ(h[20], 0);
    EXPECT_EQ(h[21], 0x00);
    EXPECT_EQ(h[22], 0xC0);
    EXPECT_EQ(h[24], 0x00);
    EXPECT_EQ(h[25], 0x40);
    EXPECT_EQ(h[26], 0xD0);
    EXPECT_EQ(h[27], 0xC7);
    EXPECT_EQ(h[64], 0x00);
    EXPECT_EQ(h[65], 0x40);
    EXPECT_EQ(h[66], 0x00);
    EXPECT_EQ(h[67], 0xB5);  // 0x2D9 + 'P' + 'I' + 'C' = 0x3B5
    EXPECT_EQ(h[68], 0x03);
    int nonZero = 0;
    for (std::size_t i = 0; i < h.size(); ++i) nonZero += h[i] != 0;
    EXPECT_EQ(nonZero, 3 + 6 + 2);  // the name, six fixed bytes, the checksum
    EXPECT_EQ(AmsdosChecksum(MakeAmsdosHeader("", kScreenFileHeader)), 0x2D9);
}

TEST(CheckFileName, AFreeNameIsKeptWithoutAQuestion) {
    TempDir dir;
    ScriptedAsker asker;
    EXPECT_EQ(CheckFileName(asker, dir / "pic0.rim"), dir / "pic0.rim");
    EXPECT_TRUE(asker.questions.empty());
}

TEST(CheckFileName, YesReplacesTheFile) {
    TempDir dir;
    test::WriteBytes(dir / "pic0.rim", {1});
    ScriptedAsker asker;
    asker.yesNo = {true};
    EXPECT_EQ(CheckFileName(asker, dir / "pic0.rim"), dir / "pic0.rim");
    ASSERT_EQ(asker.questions.size(), 1u);
    EXPECT_EQ(asker.questions[0], "File pic0.rim exists\n\rOverwrite ?");
    EXPECT_TRUE(asker.nameRequests.empty());
}

TEST(CheckFileName, NoThenANameThatExistsTooThenAFreeOne) {
    TempDir dir;
    test::WriteBytes(dir / "pic0.rim", {1});
    test::WriteBytes(dir / "new0.rim", {2});
    ScriptedAsker asker;
    asker.yesNo = {false, false};
    asker.names = {std::string("new"), std::string("free")};
    EXPECT_EQ(CheckFileName(asker, dir / "pic0.rim"), dir / "free0.rim");
    ASSERT_EQ(asker.questions.size(), 2u);
    EXPECT_EQ(asker.questions[0], "File pic0.rim exists\n\rOverwrite ?");
    EXPECT_EQ(asker.questions[1], "File new0.rim exists\n\rOverwrite ?");
    ASSERT_EQ(asker.nameRequests.size(), 2u);
    EXPECT_EQ(asker.nameRequests[0].prompt, "Enter new filename");
    EXPECT_EQ(asker.nameRequests[0].maxLength, 7);
}

TEST(CheckFileName, AnEmptyNameKeepsTheTailAndALongOneIsCut) {
    TempDir dir;
    test::WriteBytes(dir / "pic0.rim", {1});
    ScriptedAsker asker;
    asker.names = {std::string("")};
    EXPECT_EQ(CheckFileName(asker, dir / "pic0.rim"), dir / "0.rim");
    asker.names = {std::string("abcdefghij")};
    EXPECT_EQ(CheckFileName(asker, dir / "pic0.rim"), dir / "abcdefg0.rim");
}

TEST(CheckFileName, NoAnswerEndsTheSaveWithAnError) {
    TempDir dir;
    test::WriteBytes(dir / "pic0.rim", {1});
    ScriptedAsker asker;  // answers no, then nothing
    try {
        CheckFileName(asker, dir / "pic0.rim");
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.code(), io::kAccessDenied);
    }
}

}  // namespace
}  // namespace mozu
