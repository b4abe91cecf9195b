// What goes wrong: writes that fail, pixels that are no pens, files that end early or are not
// ours. Nothing is destroyed and no state changes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <functional>
#include <random>

#include "formats/cpc_file_reader.h"
#include "formats/formats_test_helpers.h"
#include "formats/overscan_files.h"
#include "formats/picture_decoding.h"
#include "formats/screen_files.h"
#include "formats/sgx_files.h"
#include "platform/io_error.h"

namespace mozu {
namespace {

using test::ReadBytes;
using test::ScriptedAsker;
using test::TempDir;
using test::WriteBytes;

ConversionState ModeOneState(unsigned seed) {
    std::mt19937 rng(seed);
    ConversionState s;
    s.slots[Slot::Mode1] = test::RandomIndexPicture(rng, 320, 200, 4);
    test::RandomPalette(rng, s.palettes[Slot::Mode1]);
    s.saved[Slot::Mode1] = 0;
    return s;
}

int CodeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const IoError& e) {
        return e.code();
    }
    return 0;
}

// Files larger than `bytes` cannot be written while it lives (root too is bound by it).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit r = old_;
        r.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit old_{};
    sighandler_t oldHandler_;
};

TEST(WriteFailure, AWriteThatFailsPartWayLeavesTheOldFileAndTheFlag) {
    TempDir dir;
    const std::vector<std::uint8_t> old(5000, 0x5A);
    WriteBytes(dir / "p1.rim", old);
    ConversionState s = ModeOneState(1);
    ScriptedAsker asker;
    asker.yesNo = {true};  // replace it
    int code = 0;
    {
        FileSizeLimit limit(8192);  // the 16512-byte file stops half-way
        code = CodeOf([&] { MakeMode1(s, asker, dir / "p"); });
    }
    EXPECT_EQ(code, io::kDiskFull);
    EXPECT_EQ(ReadBytes(dir / "p1.rim"), old);
    EXPECT_EQ(s.saved[Slot::Mode1], 0);
    EXPECT_EQ(dir.files(), std::vector<std::string>{"p1.rim"});  // no temporary file left
    // Without the limit the same save goes through.
    asker.yesNo = {true};
    MakeMode1(s, asker, dir / "p");
    EXPECT_EQ(ReadBytes(dir / "p1.rim").size(), 16512u);
    EXPECT_EQ(s.saved[Slot::Mode1], 1);
}

TEST(WriteFailure, EveryWriterFailsCleanlyInAMissingFolder) {
    TempDir dir;
    std::mt19937 rng(3);
    ConversionState s;
    s.slots[Slot::Mode0] = test::RandomIndexPicture(rng, 160, 200, 16);
    s.slots[Slot::Mode1] = test::RandomIndexPicture(rng, 320, 200, 4);
    s.slots[Slot::Mode2] = test::RandomIndexPicture(rng, 640, 200, 2);
    s.slots[Slot::Overscan0] = test::RandomIndexPicture(rng, 184, 264, 16);
    s.slots[Slot::Overscan1] = test::RandomIndexPicture(rng, 368, 264, 4);
    s.slots[Slot::Overscan2] = test::RandomIndexPicture(rng, 736, 264, 2);
    s.slots[Slot::Level0] = test::RandomIndexPicture(rng, 232, 264, 16);
    s.slots[Slot::Level1] = test::RandomIndexPicture(rng, 464, 264, 4);
    for (Slot slot : {Slot::SgxCpc, Slot::SgxCpcFree})
        s.slots[slot] = test::RandomIndexPicture(rng, 50, 20, 4);
    for (Slot slot : {Slot::SgxMsx, Slot::SgxMsxFree})
        s.slots[slot] = test::RandomIndexPicture(rng, 50, 20, 16);
    s.saved.fill(0);
    ScriptedAsker asker;
    const std::string base = dir / "missing/x";
    const std::vector<std::function<void()>> writers = {
        [&] { MakeMode0(s, asker, base); },
        [&] { MakeMode1(s, asker, base); },
        [&] { MakeMode2(s, asker, base); },
        [&] { MakeOverscanedMode0(s, asker, base); },
        [&] { MakeOverscanedMode1(s, asker, base); },
        [&] { MakeOverscanedMode2(s, asker, base); },
        [&] { MakeLevelMode0(s, asker, base); },
        [&] { MakeLevelMode1(s, asker, base); },
        [&] { MakeSGXCPC(s, asker, base, Slot::SgxCpc); },
        [&] { MakeSGXCPC(s, asker, base, Slot::SgxCpcFree); },
        [&] { MakeSGXMSX(s, asker, base, Slot::SgxMsx); },
        [&] { MakeSGXMSX(s, asker, base, Slot::SgxMsxFree); },
    };
    for (std::size_t i = 0; i < writers.size(); ++i)
        EXPECT_EQ(CodeOf(writers[i]), io::kFileNotFound) << i;
    for (std::uint8_t f : s.saved) EXPECT_EQ(f, 0);
    EXPECT_TRUE(dir.files().empty());
}

TEST(PenCheck, APixelThatIsNoPenFailsBeforeAnythingIsReplaced) {
    TempDir dir;
    const std::vector<std::uint8_t> old(100, 0x11);
    struct Bad {
        Slot slot;
        int x, y;
        Colour colour;
        std::function<void(ConversionState&, Asker&)> write;
        const char* file;
    };
    const std::vector<Bad> cases = {
        {Slot::Mode1, 5, 7, MakeColour(4, 0, 0),
         [&](ConversionState& s, Asker& a) { MakeMode1(s, a, dir / "p"); }, "p1.rim"},
        {Slot::Mode1, 0, 0, MakeColour(0, 0, 128),
         [&](ConversionState& s, Asker& a) { MakeMode1(s, a, dir / "p"); }, "p1.rim"},
        {Slot::Mode2, 639, 199, MakeColour(2, 0, 0),
         [&](ConversionState& s, Asker& a) { MakeMode2(s, a, dir / "p"); }, "p2.rim"},
        {Slot::Mode0, 1, 1, MakeColour(255, 255, 128),
         [&](ConversionState& s, Asker& a) { MakeMode0(s, a, dir / "p"); }, "p0.rim"},
        {Slot::Overscan1, 9, 9, MakeColour(7, 0, 0),
         [&](ConversionState& s, Asker& a) { MakeOverscanedMode1(s, a, dir / "p"); }, "p1.sca"},
        {Slot::Level0, 200, 50, MakeColour(16, 0, 0),
         [&](ConversionState& s, Asker& a) { MakeLevelMode0(s, a, dir / "p"); }, "p0.lvl"},
        {Slot::Level1, 400, 10, MakeColour(4, 0, 0),
         [&](ConversionState& s, Asker& a) { MakeLevelMode1(s, a, dir / "p"); }, "p1.lvl"},
        {Slot::SgxCpc, 3, 3, MakeColour(4, 0, 0),
         [&](ConversionState& s, Asker& a) { MakeSGXCPC(s, a, dir / "p", Slot::SgxCpc); },
         "pC.sgx"},
        {Slot::SgxMsxFree, 3, 3, MakeColour(16, 0, 0),
         [&](ConversionState& s, Asker& a) { MakeSGXMSX(s, a, dir / "p", Slot::SgxMsxFree); },
         "pM.sgx"},
    };
    std::mt19937 rng(8);
    for (const Bad& b : cases) {
        ConversionState s;
        s.slots[Slot::Mode0] = Picture(160, 200);
        s.slots[Slot::Mode1] = Picture(320, 200);
        s.slots[Slot::Mode2] = Picture(640, 200);
        s.slots[Slot::Overscan1] = Picture(368, 264);
        s.slots[Slot::Level0] = Picture(232, 264);
        s.slots[Slot::Level1] = Picture(464, 264);
        s.slots[Slot::SgxCpc] = Picture(20, 20);
        s.slots[Slot::SgxMsxFree] = Picture(20, 20);
        s.slots[b.slot].setPixel(b.x, b.y, b.colour);
        s.saved.fill(0);
        WriteBytes(dir / b.file, old);
        ScriptedAsker asker;
        asker.yesNo = {true};
        int code = 0;
        std::string message;
        try {
            b.write(s, asker);
        } catch (const IoError& e) {
            code = e.code();
            message = e.what();
        }
        EXPECT_EQ(code, io::kInvalidData) << b.file;
        EXPECT_NE(message.find("no pen"), std::string::npos) << message;
        EXPECT_EQ(ReadBytes(dir / b.file), old) << b.file;
        for (std::uint8_t f : s.saved) EXPECT_EQ(f, 0);
    }
    // A slot of the wrong size is refused the same way.
    ConversionState s;
    s.slots[Slot::Mode0] = Picture(100, 100);
    ScriptedAsker asker;
    EXPECT_EQ(CodeOf([&] { MakeMode0(s, asker, dir / "q"); }), io::kInvalidData);
}

// ---- the reader

struct Written {
    std::string path;
    FileType type;
    std::size_t firstIncomplete;  // a length at which the type is still recognised
};

std::vector<Written> WriteOneOfEach(const TempDir& dir) {
    std::mt19937 rng(12);
    ConversionState s;
    s.slots[Slot::Mode0] = test::RandomIndexPicture(rng, 160, 200, 16);
    s.slots[Slot::Mode1] = test::RandomIndexPicture(rng, 320, 200, 4);
    s.slots[Slot::Mode2] = test::RandomIndexPicture(rng, 640, 200, 2);
    s.slots[Slot::Overscan0] = test::RandomIndexPicture(rng, 184, 264, 16);
    s.slots[Slot::Overscan1] = test::RandomIndexPicture(rng, 368, 264, 4);
    s.slots[Slot::Overscan2] = test::RandomIndexPicture(rng, 736, 264, 2);
    s.slots[Slot::SgxCpcFree] = test::RandomIndexPicture(rng, 300, 30, 4);
    s.slots[Slot::SgxMsxFree] = test::RandomIndexPicture(rng, 300, 30, 16);
    for (Slot slot :
         {Slot::Mode0, Slot::Mode1, Slot::Mode2, Slot::Overscan0, Slot::Overscan1, Slot::Overscan2})
        test::RandomPalette(rng, s.palettes[slot]);
    ScriptedAsker asker;
    const std::string base = dir / "t";
    MakeMode0(s, asker, base);
    MakeMode1(s, asker, base);
    MakeMode2(s, asker, base);
    MakeOverscanedMode0(s, asker, base);
    MakeOverscanedMode1(s, asker, base);
    MakeOverscanedMode2(s, asker, base);
    MakeSGXCPC(s, asker, base, Slot::SgxCpcFree);
    MakeSGXMSX(s, asker, base, Slot::SgxMsxFree);
    return {{dir / "t0.rim", FileType::ScreenMode0, 2130},
            {dir / "t1.rim", FileType::ScreenMode1, 2130},
            {dir / "t2.rim", FileType::ScreenMode2, 2130},
            {dir / "t0.sca", FileType::OverscanMode0, 129},
            {dir / "t1.sca", FileType::OverscanMode1, 129},
            {dir / "t2.sca", FileType::OverscanMode2, 129},
            {dir / "t1.sgx", FileType::Sgx4, 2},
            {dir / "tM.sgx", FileType::Sgx16, 2}};
}

ConversionState BusyState() {
    std::mt19937 rng(99);
    ConversionState s;
    for (std::size_t i = 0; i < s.slots.size(); ++i) {
        s.slots.at(i) = test::RandomIndexPicture(rng, 7, 5, 16);
        test::RandomPalette(rng, s.palettes.at(i));
        s.converted.at(i) = static_cast<std::uint8_t>(i % 2);
    }
    // Slots no file is ever read into.
    s.currentSlot = Slot::Unused17;
    s.sourceSlot = Slot::Unused18;
    s.foundColours.fill(0x0102);
    return s;
}

TEST(ReadFailure, TruncatedFilesOfEveryTypeGiveReadError100AndTouchNothing) {
    TempDir dir;
    for (const Written& w : WriteOneOfEach(dir)) {
        const auto whole = ReadBytes(w.path);
        const std::size_t needed = w.type <= FileType::ScreenMode2 ? kScreenFileBytesNeeded
                                   : w.type <= FileType::OverscanMode2
                                       ? kOverscanFileBytesNeeded
                                       : whole.size() - 4;  // inside the last strip
        for (std::size_t n : {w.firstIncomplete, (w.firstIncomplete + needed) / 2, needed - 1}) {
            WriteBytes(w.path, std::vector<std::uint8_t>(whole.begin(),
                                                         whole.begin() + static_cast<long>(n)));
            ASSERT_EQ(CheckCPCFile(w.path), w.type) << w.path << " cut to " << n;
            ConversionState s = BusyState();
            const ConversionState before = s;
            EXPECT_EQ(CodeOf([&] { OpenCPCFile(s, w.path); }), io::kReadPastEnd)
                << w.path << " cut to " << n;
            EXPECT_TRUE(test::SameState(s, before)) << w.path << " cut to " << n;
        }
        // Exactly the bytes needed (screen and overscan files) read.
        if (w.type <= FileType::OverscanMode2) {
            WriteBytes(w.path, std::vector<std::uint8_t>(
                                   whole.begin(), whole.begin() + static_cast<long>(needed)));
            ConversionState s;
            EXPECT_NO_THROW(OpenCPCFile(s, w.path)) << w.path;
        }
    }
}

TEST(ReadFailure, UnsupportedAndNonsenseFilesTouchNothing) {
    TempDir dir;
    auto f = BuildScreenFile(0, std::vector<std::uint8_t>(160 * 200, 0), {}, "X");
    f[2128] = 0;  // not our routine: type 3
    WriteBytes(dir / "h.rim", f);
    WriteBytes(dir / "u.rim", std::vector<std::uint8_t>(300, 0));  // type 255
    WriteBytes(dir / "z.sgx",
               {0x40, 0x00, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0, 0, 0});        // width 0
    WriteBytes(dir / "w.sgx", {0x40, 0x00, 0x01, 0x04, 0x04, 0x10, 0x01, 0x00});  // 4100 pixels
    for (const char* name : {"h.rim", "u.rim", "z.sgx", "w.sgx"}) {
        ConversionState s = BusyState();
        const ConversionState before = s;
        EXPECT_EQ(CodeOf([&] { OpenCPCFile(s, dir / name); }), io::kInvalidData) << name;
        EXPECT_TRUE(test::SameState(s, before)) << name;
    }
    ConversionState s = BusyState();
    const ConversionState before = s;
    EXPECT_EQ(CodeOf([&] { OpenCPCFile(s, dir / "missing.rim"); }), io::kFileNotFound);
    EXPECT_TRUE(test::SameState(s, before));
}

TEST(ReadFailure, VideosAreLeftToTheVideoReader) {
    TempDir dir;
    std::vector<std::uint8_t> v(512, 0);
    v[18] = 7;
    WriteBytes(dir / "v.vid", v);
    ConversionState s = BusyState();
    const ConversionState before = s;
    EXPECT_EQ(OpenCPCFile(s, dir / "v.vid"), "");
    // The slot a video "is read into" is the one its file type names.
    EXPECT_EQ(s.currentSlot, SlotOfFileType(FileType::Video16));
    EXPECT_EQ(s.sourceSlot, SlotOfFileType(FileType::Video16));
    EXPECT_EQ(s.slots, before.slots);
    EXPECT_EQ(s.converted, before.converted);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(s.palettes[Slot::SgxMsxFree][static_cast<std::size_t>(i)], i);
}

}  // namespace
}  // namespace mozu
