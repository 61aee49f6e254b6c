#include "emu/RegularFile.h"

#include <filesystem>
#include <fstream>

namespace emu {

std::string ReadRegularFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) return "cannot read the file";
    if (!std::filesystem::is_regular_file(status)) return "not a regular file";
    const uint64_t size = std::filesystem::file_size(path, error);
    if (error) return "cannot read the file";
    if (size > maxBytes) return "larger than " + std::to_string(maxBytes) + " bytes";

    std::ifstream file(path, std::ios::binary);
    if (!file) return "cannot read the file";
    // Exactly the size seen above, even should the file be swapped for something endless.
    bytes.resize(size_t(size));
    file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
    if (uint64_t(file.gcount()) != size) return "cannot read the file";
    return "";
}

}  // namespace emu
