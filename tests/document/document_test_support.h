#pragma once
// Small fixtures for the document tests: the sample photograph, a record of a document's notices
// and a PC video source without a file. Temporary folders and askers come from tests/support.

#include <string>
#include <vector>

#include "document/document.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scripted_asker.h"
#include "tests/support/temp_dir.h"
#include "video/video_source.h"

namespace mozu::test {

std::string SamplePath();

struct ChangeLog {
    explicit ChangeLog(Document& doc)
        : doc_(doc),
          id_(doc.addObserver([this](const DocumentChange& c) { changes.push_back(c); })) {}
    ~ChangeLog() { doc_.removeObserver(id_); }
    std::vector<DocumentChange> changes;

  private:
    Document& doc_;
    int id_;
};

// Frames of one flat colour each (frame i: red 10 i), 64 x 48, 25 fps.
class FlatFrameSource : public VideoFrameSource {
  public:
    explicit FlatFrameSource(std::int32_t frames);
    const VideoInfo& open(const std::string& path) override;
    void decodeFrame(std::int32_t index, std::span<std::uint8_t> buffer) override;
    void close() override { ++closed; }
    int opened = 0;
    int closed = 0;

  private:
    VideoInfo info_;
};

}  // namespace mozu::test
