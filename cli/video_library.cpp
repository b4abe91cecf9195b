#include "cli/video_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <mutex>
#include <string>
#include <vector>

#include "cli/options.h"
#include "document/open_file.h"

namespace mozu::cli {

namespace {

// The folder of the running executable.
std::string ExecutableFolder() {
    std::vector<char> buffer(4096);
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return ".";
    const std::string path(buffer.data(), static_cast<std::size_t>(n));
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

const VideoLibrary* Load(std::string& error) {
    const std::string folder = ExecutableFolder();
    // Beside the executable (the build tree), or in the package's library folder.
    for (const std::string& candidate :
         {folder + "/mozu-cli-video.so", folder + "/../lib/mozu/mozu-cli-video.so"}) {
        void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            if (error.empty()) error = ::dlerror();
            continue;
        }
        using Entry = const VideoLibrary* (*)();
        auto entry = reinterpret_cast<Entry>(::dlsym(handle, kVideoLibraryEntry));
        const VideoLibrary* library = entry ? entry() : nullptr;
        if (library != nullptr && library->version == kVideoLibraryVersion) return library;
        error = candidate + " is not this version's video module";
        ::dlclose(handle);
    }
    return nullptr;
}

}  // namespace

const VideoLibrary& LoadVideoLibrary() {
    static std::once_flag once;
    static const VideoLibrary* library = nullptr;
    static std::string error;
    std::call_once(once, [] { library = Load(error); });
    if (library == nullptr) throw CliError("video support cannot be loaded: " + error);
    return *library;
}

FileType RecogniseAnyFile(const std::string& path) {
    const FileType type = RecogniseFile(path);
    if (type != FileType::Unsupported) return type;
    const VideoLibrary* library = nullptr;
    try {
        library = &LoadVideoLibrary();
    } catch (const CliError&) {
        return type;  // no video support here: the file is of no kind Mozu reads
    }
    return RecogniseFile(path, *library->makeFrameSource());
}

}  // namespace mozu::cli
