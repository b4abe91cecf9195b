// Every picture writer failed at each of its file steps in turn (create, each write, close,
// flush, rename) with a full disc and with an I/O error: the old file stays as it was, no
// temporary file is left, the saved flag stays unset and the error carries the message
// window's text for the failure.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <random>

#include "formats/formats_test_helpers.h"
#include "formats/overscan_files.h"
#include "formats/screen_files.h"
#include "formats/sgx_files.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {
namespace {

struct Writer {
    const char* name;  // the file it writes, after the base name
    Slot slot;         // whose saved flag it sets (a level file: its overscan slot's)
    std::function<void(ConversionState&, Asker&, const std::string&)> run;
};

ConversionState EverySlot() {
    std::mt19937 rng(15);
    ConversionState s;
    s.slots[Slot::Mode0] = test::RandomIndexPicture(rng, 160, 200, 16);
    s.slots[Slot::Mode1] = test::RandomIndexPicture(rng, 320, 200, 4);
    s.slots[Slot::Mode2] = test::RandomIndexPicture(rng, 640, 200, 2);
    s.slots[Slot::Overscan0] = test::RandomIndexPicture(rng, 184, 264, 16);
    s.slots[Slot::Overscan1] = test::RandomIndexPicture(rng, 368, 264, 4);
    s.slots[Slot::Overscan2] = test::RandomIndexPicture(rng, 736, 264, 2);
    s.slots[Slot::Level0] = test::RandomIndexPicture(rng, 232, 264, 16);
    s.slots[Slot::Level1] = test::RandomIndexPicture(rng, 464, 264, 4);
    s.slots[Slot::SgxCpc] = test::RandomIndexPicture(rng, 320, 200, 4);
    s.slots[Slot::SgxCpcFree] = test::RandomIndexPicture(rng, 300, 30, 4);
    s.slots[Slot::SgxMsx] = test::RandomIndexPicture(rng, 512, 212, 16);
    s.slots[Slot::SgxMsxFree] = test::RandomIndexPicture(rng, 50, 20, 16);
    s.saved.fill(0);
    return s;
}

const std::vector<Writer>& Writers() {
    static const std::vector<Writer> writers = {
        {"0.rim", Slot::Mode0, MakeMode0},
        {"1.rim", Slot::Mode1, MakeMode1},
        {"2.rim", Slot::Mode2, MakeMode2},
        {"0.sca", Slot::Overscan0, MakeOverscanedMode0},
        {"1.sca", Slot::Overscan1, MakeOverscanedMode1},
        {"2.sca", Slot::Overscan2, MakeOverscanedMode2},
        {"0.lvl", Slot::Overscan0, MakeLevelMode0},
        {"1.lvl", Slot::Overscan1, MakeLevelMode1},
        {"C.sgx", Slot::SgxCpc,
         [](ConversionState& s, Asker& a, const std::string& b) {
             MakeSGXCPC(s, a, b, Slot::SgxCpc);
         }},
        {"1.sgx", Slot::SgxCpcFree,
         [](ConversionState& s, Asker& a, const std::string& b) {
             MakeSGXCPC(s, a, b, Slot::SgxCpcFree);
         }},
        {"7.sgx", Slot::SgxMsx,
         [](ConversionState& s, Asker& a, const std::string& b) {
             MakeSGXMSX(s, a, b, Slot::SgxMsx);
         }},
        {"M.sgx", Slot::SgxMsxFree,
         [](ConversionState& s, Asker& a, const std::string& b) {
             MakeSGXMSX(s, a, b, Slot::SgxMsxFree);
         }},
    };
    return writers;
}

// Takes back any failure still pending when a test ends.
struct StepSeam {
    ~StepSeam() { FailOutputStepNumber(0, 0); }
};

TEST(WriteFault, EveryWriterFailedAtEachStepKeepsTheOldFile) {
    StepSeam seam;
    const std::vector<std::uint8_t> old = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'};
    for (const Writer& w : Writers()) {
        SCOPED_TRACE(w.name);
        test::TempDir dir;
        const std::string target = dir / (std::string("p") + w.name);
        // A clean save over an old file counts the steps a replacement takes.
        test::WriteBytes(target, old);
        ConversionState s = EverySlot();
        test::ScriptedAsker yes(test::Otherwise::kYes);
        FailOutputStepNumber(0, 0);
        w.run(s, yes, dir / "p");
        const int steps = OutputStepsTaken();
        const std::vector<std::uint8_t> made = test::ReadBytes(target);
        // Create, at least one write, close, the refused rename, flush, rename.
        ASSERT_GE(steps, 6);
        for (const int err : {ENOSPC, EIO}) {
            const int code = err == ENOSPC ? io::kDiskFull : io::kDeviceWriteFault;
            for (int step = 1; step <= steps; ++step) {
                SCOPED_TRACE("step " + std::to_string(step) + " errno " + std::to_string(err));
                test::WriteBytes(target, old);
                s.saved.fill(0);
                FailOutputStepNumber(step, err);
                try {
                    w.run(s, yes, dir / "p");
                    ADD_FAILURE() << "the failed step went unnoticed";
                } catch (const IoError& e) {
                    EXPECT_EQ(e.code(), code);
                    EXPECT_EQ(ErrorText(e.code()),
                              err == ENOSPC ? "Write error:Disc is full" : "Device write fault");
                }
                EXPECT_EQ(test::ReadBytes(target), old);
                EXPECT_EQ(dir.files(), std::vector<std::string>{std::string("p") + w.name});
                EXPECT_EQ(s.saved[w.slot], 0);
            }
        }
        // And the same save without a failure still gives the same file.
        FailOutputStepNumber(0, 0);
        w.run(s, yes, dir / "p");
        EXPECT_EQ(test::ReadBytes(target), made);
        EXPECT_EQ(s.saved[w.slot], 1);
    }
}

TEST(WriteFault, ANewFileFailedAtEachStepLeavesNothing) {
    StepSeam seam;
    const Writer& w = Writers()[1];  // mode 1; a new file skips the flush and renames once
    test::TempDir dir;
    ConversionState s = EverySlot();
    test::ScriptedAsker asker;
    FailOutputStepNumber(0, 0);
    w.run(s, asker, dir / "n");
    const int steps = OutputStepsTaken();
    ASSERT_GE(steps, 4);
    std::filesystem::remove(dir / "n1.rim");
    for (int step = 1; step <= steps; ++step) {
        FailOutputStepNumber(step, ENOSPC);
        EXPECT_THROW(w.run(s, asker, dir / "n"), IoError) << step;
        EXPECT_TRUE(dir.files().empty()) << step;
    }
}

}  // namespace
}  // namespace mozu
