#include "document/open_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

#include "colour/count_colors.h"
#include "formats/cpc_file_reader.h"
#include "formats/screen_dump.h"
#include "media/image_loader.h"
#include "platform/io_error.h"
#include "video/vid_reader.h"

namespace mozu {

namespace {

// The last four characters of the name, in upper case: ".JPG", "JPEG", ".AVI".
std::string Extension4(const std::string& path) {
    std::string ext = path.size() >= 4 ? path.substr(path.size() - 4) : path;
    for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

std::string Head(const std::string& path, OpenOrigin origin, const char* kind,
                 const char* droppedHead) {
    return origin == OpenOrigin::Chosen ? Extension4(path) + " " + kind + "\n\r" : droppedHead;
}

OpenResult Opened(FileType type, std::string description, std::string title = {}) {
    return {OpenResult::Status::Opened, type, std::move(description), std::move(title), {}};
}

PictureKind KindOf(FileType type) {
    switch (type) {
        case FileType::Jpeg:
            return PictureKind::Jpeg;
        case FileType::Png:
            return PictureKind::Png;
        case FileType::Gif:
            return PictureKind::Gif;
        case FileType::Tga:
            return PictureKind::Tga;
        case FileType::Pnm:
            return PictureKind::Pnm;
        case FileType::Webp:
            return PictureKind::Webp;
        case FileType::Tiff:
            return PictureKind::Tiff;
        default:
            return PictureKind::Bmp;
    }
}

OpenResult OpenPcPicture(Document& doc, const std::string& path, FileType type, OpenOrigin origin,
                         const OpenSettings& settings) {
    Picture loaded;
    LoadPictureOf(KindOf(type), path, loaded, settings.background);
    ConversionState& state = doc.state();
    doc.closeVideo();
    doc.resetForNewFile(path);
    AdoptPcPicture(state, std::move(loaded));
    return Opened(type, Head(path, origin, "image", "Bitmap image\n\r") +
                            std::to_string(state.source.width()) + "x" +
                            std::to_string(state.source.height()) + "\n\r" +
                            std::to_string(state.sourceColourCount) + " colors");
}

OpenResult OpenCpcPicture(Document& doc, const std::string& path, FileType type) {
    ConversionState& state = doc.state();
    // OpenCPCFile sets the flag of the slot it fills; the others are cleared once it succeeded.
    const SlotArray<std::uint8_t> previousFlags = state.converted;
    std::string description;
    try {
        description = OpenCPCFile(state, path);
    } catch (const IoError& e) {
        state.converted = previousFlags;
        if (e.code() == io::kInvalidData)
            return {OpenResult::Status::Unsupported, type, {}, {}, e.what()};
        throw;
    }
    // OpenCPCFile classifies the file by its own rules; its slot names the type it found.
    const Slot slot = state.currentSlot;
    const FileType found = FileTypeOfSlot(slot);
    const std::uint8_t kept = state.converted[slot];
    state.converted.fill(0);
    state.converted[slot] = kept;
    doc.closeVideo();
    doc.resetForNewFile(path);
    // The source is the picture at its display size (mode 0 pixels doubled in width ...).
    AdoptOpenedPicture(state, found);
    state.sourceShown = false;
    return Opened(found, std::move(description));
}

// The mode the user gives for a dump without a palette file; -1 when none was given.
int AskScreenMode(Asker& asker, const std::string& path) {
    const std::string prompt =
        "Screen mode of " + std::filesystem::path(path).filename().string() + " (0, 1 or 2)";
    for (;;) {
        const std::optional<std::string> answer = asker.askName(prompt, 1);
        if (!answer || answer->empty()) return -1;
        if (*answer == "0" || *answer == "1" || *answer == "2") return (*answer)[0] - '0';
    }
}

OpenResult OpenScreenDump(Document& doc, const std::string& path, const OpenSettings& settings) {
    // The palette file beside the dump gives its mode and colours; without one the caller's
    // mode (or the user's answer) and the firmware's colours.
    const std::optional<DumpPalette> palette = ReadDumpPalette(path);
    int mode = palette ? palette->mode : settings.screenMode;
    if (mode < 0 && settings.asker) {
        mode = AskScreenMode(*settings.asker, path);
        if (mode < 0) return {OpenResult::Status::Cancelled, FileType::ScreenDump, {}, {}, {}};
    }
    if (mode < 0 || mode > 2)
        throw IoError(io::kInvalidData,
                      path +
                          ": a CPC screen dump without a palette file (.pal) beside it; its "
                          "screen mode (0, 1 or 2) must be given");
    const DecodedPicture decoded =
        ReadScreenDump(path, mode, palette ? palette->firmware : kFirmwareDefaultInks);
    ConversionState& state = doc.state();
    const auto type = static_cast<FileType>(mode);  // read as our screen file of that mode
    const Slot slot = SlotOfFileType(type);
    StoreReadPicture(state, slot, decoded);
    // As for our own screen files, the found colours of modes 0 and 1 come from the slot.
    if (mode < 2) CountColors(state, state.picture(slot));
    state.converted.fill(0);
    state.converted[slot] = 1;
    doc.closeVideo();
    doc.resetForNewFile(path);
    AdoptOpenedPicture(state, type);
    state.sourceShown = false;
    return Opened(FileType::ScreenDump,
                  ScreenDumpDescription(mode, palette ? PaletteFileBeside(path) : std::string()));
}

OpenResult OpenSymbosVideo(Document& doc, const std::string& path) {
    ConversionState& state = doc.state();
    VideoState& video = doc.video();
    VidReader& reader = doc.vidReader();
    Picture first;
    try {
        OpenVIDfile(reader, state, video, path);
        showVIDframe2(reader, 0, first);
    } catch (const IoError&) {
        // The reader closed the SymbOS video it had open; a PC video stays as it was.
        CloseVIDfile(reader);
        if (video.symbosVideo) video.loaded = false;
        throw;
    }
    CloseVideoSource(video);
    doc.resetForNewFile(path);
    state.converted.fill(0);
    const FileType type = reader.sixteen() ? FileType::Video16 : FileType::Video4;
    // The SymbOS video's file type stands where a slot would: it says where the source came from.
    state.currentSlot = state.sourceSlot = SlotOfFileType(type);
    state.source = std::move(first);
    state.sourceColourCount = CountColors(state, state.source);
    video.loaded = true;
    video.symbosVideo = true;
    return Opened(type, VidDescription(reader), VidTitleLabel(reader));
}

OpenResult OpenPcVideo(Document& doc, const std::string& path, OpenOrigin origin) {
    ConversionState& state = doc.state();
    VideoState& video = doc.video();
    doc.closeVideo();
    try {
        // Opens, decodes frame 0 and sets the current frame and the marks.
        OpenVideo(video, path);
    } catch (const IoError&) {
        video.loaded = false;
        video.symbosVideo = false;
        throw;
    }
    doc.resetForNewFile(path);
    state.converted.fill(0);
    // The frame on show becomes the source, as a PC picture (Slot::Source), so that every
    // conversion scales it as a PC picture.
    state.source = video.frame;
    state.currentSlot = state.sourceSlot = Slot::Source;
    state.sourceColourCount = CountColors(state, state.source);
    video.loaded = true;
    video.symbosVideo = false;
    return Opened(FileType::PcVideo, Head(path, origin, "video", "Video\n\r") +
                                         VideoInfoText(video.info, video.frameCountCopy));
}

}  // namespace

FileType RecogniseFile(const std::string& path) {
    return IsSupportedFile(path);
}

FileType RecogniseFile(const std::string& path, VideoFrameSource& videos) {
    const FileType type = IsSupportedFile(path);
    if (type != FileType::Unsupported) return type;
    return videos.holdsVideo(path) ? FileType::PcVideo : type;
}

OpenResult OpenFile(Document& document, const std::string& path, OpenOrigin origin) {
    VideoFrameSource* videos = document.video().source.get();
    return OpenFileAs(document, path, videos ? RecogniseFile(path, *videos) : RecogniseFile(path),
                      origin);
}

OpenResult OpenFileAs(Document& document, const std::string& path, FileType type,
                      OpenOrigin origin) {
    return OpenFileAs(document, path, type, origin, OpenSettings{});
}

OpenResult OpenFileAs(Document& document, const std::string& path, FileType type, OpenOrigin origin,
                      const OpenSettings& settings) {
    OpenResult result;
    switch (type) {
        case FileType::Bmp:
        case FileType::Jpeg:
        case FileType::Png:
        case FileType::Gif:
        case FileType::Tga:
        case FileType::Pnm:
        case FileType::Webp:
        case FileType::Tiff:
            result = OpenPcPicture(document, path, type, origin, settings);
            break;
        case FileType::ScreenDump:
            result = OpenScreenDump(document, path, settings);
            break;
        case FileType::PcVideo:
            result = OpenPcVideo(document, path, origin);
            break;
        case FileType::Video4:
        case FileType::Video16:
            result = OpenSymbosVideo(document, path);
            break;
        case FileType::HeadedScreen:  // a screen file without our routine: not readable
        case FileType::Unsupported:
            return {OpenResult::Status::Unsupported, type, {}, {}, {}};
        default:
            result = OpenCpcPicture(document, path, type);
            break;
    }
    if (result.opened())
        document.notify({DocumentChange::Kind::Opened, document.state().sourceSlot, {}});
    return result;
}

}  // namespace mozu
