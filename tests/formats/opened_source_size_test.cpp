// The size of the source made from a picture read from a file, and the file's description.
#include <gtest/gtest.h>

#include "formats/cpc_file_reader.h"

namespace mozu {
namespace {

TEST(CpcFileReader, OpenedSourceSizesAndDescriptions) {
    EXPECT_EQ(OpenedSourceSize(Slot::Mode0, 160, 200).width, 320);
    EXPECT_EQ(OpenedSourceSize(Slot::Mode2, 640, 200).width, 640);
    EXPECT_EQ(OpenedSourceSize(Slot::Overscan1, 368, 264).width, 368);
    EXPECT_EQ(OpenedSourceSize(Slot::Overscan2, 736, 264).width, 736);
    EXPECT_EQ(OpenedSourceSize(Slot::SgxMsxFree, 77, 33).height, 33);
    EXPECT_EQ(CpcFileDescription(FileType::Unsupported, 0, 0), "Undefined");
    EXPECT_EQ(CpcFileDescription(FileType::Sgx16, 512, 212),
              "SymbOS image\n\r512x212\n\r16 colors");
    EXPECT_EQ(CpcFileDescription(FileType::HeadedScreen, 0, 0), "");
}

}  // namespace
}  // namespace mozu
