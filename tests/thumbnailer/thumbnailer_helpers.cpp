#include "thumbnailer/thumbnailer_helpers.h"

#include <png.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/file_bytes.h"

namespace mozu::test {

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const TempDir& dir) {
    const std::string err =
        (dir.path().parent_path() / (dir.path().filename().string() + ".err")).string();
    std::string command = "cd " + Quote(dir.path().string()) + " && " + Quote(program);
    for (const std::string& a : args) {
        command += ' ';
        command += Quote(a);
    }
    command += " >/dev/null 2>";
    command += Quote(err);
    const int raw = std::system(command.c_str());
    ProgramRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(err)};
    std::filesystem::remove(err);
    return run;
}

Picture ReadPng(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
    image.format = PNG_FORMAT_BGR;  // the byte order of a Picture's pixels
    Picture picture(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, picture.data(), 0, nullptr)) return {};
    return picture;
}

}  // namespace mozu::test
