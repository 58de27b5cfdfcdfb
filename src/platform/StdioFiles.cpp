#include "platform/StdioFiles.h"

namespace vok {

ReadResult ReadAndClose(std::FILE* file, std::string& contents) {
    ReadResult result = ReadResult::Failed;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        long size = std::ftell(file);
        if (size >= 0 && std::fseek(file, 0, SEEK_SET) == 0) {
            contents.resize(static_cast<std::size_t>(size));
            if (size == 0 ||
                std::fread(&contents[0], 1, contents.size(), file) == contents.size()) {
                result = ReadResult::Ok;
            }
        }
    }
    std::fclose(file);
    if (result != ReadResult::Ok) {
        contents.clear();
    }
    return result;
}

bool WriteStreamFile(const char* path, const void* data, std::size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) {
        return false;
    }
    bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

}  // namespace vok
