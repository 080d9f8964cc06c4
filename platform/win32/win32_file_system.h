#pragma once

#include "platform/file_system.h"

namespace veltrano::platform::win32 {

class Win32FileSystem : public FileSystem {
public:
    DriveType drive_type(const std::string& root) override;
    bool exists(const std::string& path) override;
    bool is_directory(const std::string& path) override;
    PathState probe(const std::string& path) override;
    std::string app_data_folder() override;
    bool create_directories(const std::string& path) override;
    bool write_new_file(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
    bool read_file(const std::string& path, std::vector<std::uint8_t>& bytes) override;
    bool replace_file(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
    bool append_file(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
    // One handle for the appender's life: a log appended at every step of
    // the work opened and closed its file each time.
    std::unique_ptr<FileAppender> open_for_appending(const std::string& path) override;
    std::vector<std::string> file_names(const std::string& folder, const std::string& extension) override;
};

}  // namespace veltrano::platform::win32
