// GIF input through giflib: the first frame on the logical screen. Pixels the frame does not
// cover, and its transparent pixels, show the background colour.

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "media/image_loader.h"
#include "media/picture_limits.h"
#include "platform/binary_file.h"
#include "platform/io_error.h"

namespace mozu {

namespace {

struct MemoryReader {
    const std::vector<std::uint8_t>* bytes;
    std::size_t pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int length) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(length),
                                                reader->bytes->size() - reader->pos);
    std::memcpy(out, reader->bytes->data() + reader->pos, n);
    reader->pos += n;
    return static_cast<int>(n);
}

[[noreturn]] void GifFail(const std::string& path, int error) {
    const char* text = GifErrorString(error);
    const bool shortFile = error == D_GIF_ERR_READ_FAILED || error == D_GIF_ERR_EOF_TOO_SOON;
    throw IoError(shortFile ? io::kReadPastEnd : io::kInvalidData,
                  path + ": GIF: " + (text ? text : "unreadable"));
}

}  // namespace

void LoadGif(const std::string& path, Picture& image, Colour background) {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (bytes.empty()) throw IoError(io::kReadPastEnd, path + ": empty file");
    MemoryReader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (gif == nullptr) GifFail(path, error);
    struct Close {
        GifFileType* gif;
        ~Close() { DGifCloseFile(gif, nullptr); }
    } close{gif};

    CheckPictureSize(static_cast<std::uint64_t>(std::max(gif->SWidth, 0)),
                     static_cast<std::uint64_t>(std::max(gif->SHeight, 0)), path);
    int transparent = -1;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) GifFail(path, gif->Error);
        if (record == TERMINATE_RECORD_TYPE)
            throw IoError(io::kInvalidData, path + ": GIF without a picture");
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) GifFail(path, gif->Error);
            while (block != nullptr) {
                if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4) {
                    GraphicsControlBlock control{};
                    DGifExtensionToGCB(block[0], block + 1, &control);
                    transparent = control.TransparentColor;
                }
                if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) GifFail(path, gif->Error);
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif) == GIF_ERROR) GifFail(path, gif->Error);
        const GifImageDesc& frame = gif->Image;
        const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
        if (map == nullptr) throw IoError(io::kInvalidData, path + ": GIF without colours");
        CheckPictureSize(static_cast<std::uint64_t>(std::max(frame.Width, 0)),
                         static_cast<std::uint64_t>(std::max(frame.Height, 0)), path);

        Picture picture(gif->SWidth, gif->SHeight, background);
        std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
        // Interlaced frames store rows 0, 8, 16 ..., then 4, 12 ..., then 2, 6 ..., then 1, 3 ...
        std::vector<int> order;
        if (frame.Interlace) {
            for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
                for (int y = start; y < frame.Height; y += step) order.push_back(y);
        } else {
            for (int y = 0; y < frame.Height; ++y) order.push_back(y);
        }
        for (int y : order) {
            if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) GifFail(path, gif->Error);
            const int py = frame.Top + y;
            if (py < 0 || py >= picture.height()) continue;
            for (int x = 0; x < frame.Width; ++x) {
                const int px = frame.Left + x;
                const int index = line[static_cast<std::size_t>(x)];
                if (px < 0 || px >= picture.width() || index == transparent) continue;
                if (index >= map->ColorCount) continue;  // no such colour: the background shows
                const GifColorType& c = map->Colors[index];
                picture.setPixel(px, py, MakeColour(c.Red, c.Green, c.Blue));
            }
        }
        image = std::move(picture);
        return;
    }
}

}  // namespace mozu
