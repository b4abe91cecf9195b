#include "formats/file_image.h"

#include "platform/binary_file.h"

namespace mozu {

void WriteFileImage(const std::string& path, std::span<const std::uint8_t> bytes) {
    OutputFile out(path);
    out.write(bytes);
    out.commit();
}

}  // namespace mozu
