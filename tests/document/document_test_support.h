#pragma once
// Small fixtures for the document tests: a temporary folder, an asker that says yes, a record of
// a document's notices and a PC video source without a file.

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "document/document.h"
#include "platform/asker.h"
#include "video/video_source.h"

namespace mozu::test {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::string SamplePath();
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

class YesAsker : public Asker {
  public:
    int questions = 0;
    bool askYesNo(const std::string&) override {
        ++questions;
        return true;
    }
    std::optional<std::string> askName(const std::string&, int) override { return std::nullopt; }
    void notify(const std::string&) override {}
};

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
