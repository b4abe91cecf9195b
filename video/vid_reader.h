#pragma once
// Reading SymbOS video files back: the header, and any frame as a picture in the fixed video
// palette (pen k shows colour index k of the colour table). The file stays open while its
// frames are shown.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "colour/conversion_state.h"
#include "colour/picture.h"
#include "platform/binary_file.h"
#include "video/video_navigation.h"

namespace mozu {

class VidReader {
  public:
    VidReader();
    ~VidReader();
    VidReader(const VidReader&) = delete;
    VidReader& operator=(const VidReader&) = delete;

    // Reads and checks the header. IoError (code 106, naming the file) for a file that is no
    // SymbOS video: no "SymVid10", a colour type other than 1 or 7, a width or height no video
    // can have, a frame size smaller than a frame's data, no frames, or fewer frames in the file
    // than the header claims. A file that is open is closed first.
    void open(const ColourTable& colours, const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // Frame `index` as a W x H picture. IoError 100 ("Read error:End of file") for an index
    // outside 0 .. N - 1.
    const Picture& decodeFrame(std::int32_t index);

    int frameRate() const { return frameRate_; }
    std::int32_t frameCount() const { return frameCount_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int colourType() const { return colourType_; }  // 1 or 7
    bool sixteen() const { return colourType_ == 7; }
    int frameSize() const { return frameSize_; }
    const std::string& title() const { return title_; }              // up to its first zero
    const std::string& information() const { return information_; }  // up to its first zero
    const std::string& path() const { return path_; }
    const Picture& picture() const { return picture_; }

  private:
    std::unique_ptr<InputFile> file_;
    std::string path_;
    int frameRate_ = 0;
    std::int32_t frameCount_ = 0;
    int width_ = 0;
    int height_ = 0;
    int colourType_ = 0;
    int frameSize_ = 0;
    std::string title_;
    std::string information_;
    std::array<Colour, 17> palette_{};
    Picture picture_;
    std::vector<std::uint8_t> bytes_;
};

// OpenVIDfile: opens the reader and sets the navigation for the SymbOS video (the end mark and
// the frame count are N).
void OpenVIDfile(VidReader& reader, const ConversionState& state, VideoState& video,
                 const std::string& path);
// showVIDframe2: frame `index` into `target`, W x H (4 colours) or W x 2H with every line
// doubled (16 colours, whose pixels are wide).
void showVIDframe2(VidReader& reader, std::int32_t index, Picture& target);
void CloseVIDfile(VidReader& reader);

// The title line: the title, "\n\r", the information.
std::string VidTitleLabel(const VidReader& reader);
// The description of an open SymbOS video: "SymbOS video\n\r", the running time, "\n\r", the
// rate and " fps\n\r", "4 colors" or "16 colors".
std::string VidDescription(const VidReader& reader);
// VIDTimer's interval in milliseconds; 0 for a rate of 0 (such a video cannot be played).
int VidPlayInterval(const VidReader& reader);

// An index picture (pens in the red byte) in the video palette: pen k -> colour index k.
Picture VideoPensToColours(const ColourTable& colours, const Picture& pens);

}  // namespace mozu
