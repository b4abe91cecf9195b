#pragma once
// Opening any file Mozu reads: BMP, JPEG, PNG, GIF, TGA, PNM, WebP and TIFF pictures, CPC screen
// and overscan files, other tools' screen dumps, SymbOS graphics, SymbOS videos and PC videos. The
// one place that recognises a file and puts it into a document; the main window, the open dialog's
// previews and the command-line tool all open through it.
//
// A file replaces the document only once it has been read completely: when reading fails, every
// slot, flag and the source stay as they were. Videos are the exception the window has always
// made: opening a PC video closes the video that was open before it tries, and a SymbOS video
// that fails to open closes the SymbOS video that was open.

#include <string>

#include "document/document.h"
#include "formats/file_type.h"
#include "platform/asker.h"

namespace mozu {

// Where the request came from. The description of a PC picture or video names its extension
// when the user chose the file ("JPEG image", ".AVI video"), and says only "Bitmap image" or
// "Video" for a file dropped on the window or handed over by a second instance.
enum class OpenOrigin { Chosen, Dropped };

struct OpenResult {
    enum class Status {
        Opened,
        Unsupported,  // no type Mozu reads, a headed screen file that is not ours, or a CPC
                      // file whose contents are not what its name says
        Cancelled,    // the user gave no screen mode for a screen dump: nothing changed
    };
    Status status = Status::Unsupported;
    FileType type = FileType::Unsupported;
    std::string description;  // the file's description (line breaks "\n\r")
    std::string title;        // a SymbOS video's title and information, else empty
    std::string reason;       // why a CPC file of a known type is unsupported, where it is known

    bool opened() const { return status == Status::Opened; }
};

// What a caller may choose about how a file opens.
struct OpenSettings {
    Colour background = 0;  // under transparent pixels of PNG, GIF, TGA, WebP and TIFF pictures
    // The mode (0-2) of another tool's screen dump that has no palette file beside it; -1 asks
    // `asker` ("Screen mode of NAME (0, 1 or 2)"), or without one fails with IoError.
    int screenMode = -1;
    Asker* asker = nullptr;
};

// The file's type by its name and first bytes; IoError when a file that needs looking into
// cannot be read.
FileType RecogniseFile(const std::string& path);
// The same, and a file that none of those rules takes (type 255: an unknown extension, or a
// ".bin" that is no screen file) is a PC video (22) when `videos` finds one in its contents.
// Every file of a known kind keeps the type its name and bytes give.
FileType RecogniseFile(const std::string& path, VideoFrameSource& videos);

// Recognises `path` (with the document's video source looking into unknown files) and opens it
// into `document`, then notifies DocumentChange::Opened.
// IoError when the file cannot be read; an unsupported file changes nothing and reports so.
OpenResult OpenFile(Document& document, const std::string& path, OpenOrigin origin);

// The same for a file whose type the caller already knows (the open dialog recognises files by
// its own rules).
OpenResult OpenFileAs(Document& document, const std::string& path, FileType type,
                      OpenOrigin origin);
OpenResult OpenFileAs(Document& document, const std::string& path, FileType type, OpenOrigin origin,
                      const OpenSettings& settings);

}  // namespace mozu
