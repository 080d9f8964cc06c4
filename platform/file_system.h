// What the registry analyser asks of the file system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veltrano::platform {

enum class DriveType { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

// What a look at a path found. Missing is said only when the system says
// the file or the path is not there; a refusal, a name too long or a network
// that does not answer prove nothing and are Unknown.
enum class PathState { File, Folder, Missing, Unknown };

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual DriveType drive_type(const std::string& root) = 0;  // "C:\"
    virtual bool exists(const std::string& path) = 0;            // file or folder
    // Looks at the path as the machine's own programs see it: a 32-bit
    // program on 64-bit Windows sees the 64-bit system folder, not the
    // 32-bit one Windows puts in its place.
    virtual PathState probe(const std::string& path) = 0;
    // An existing folder; a file of that name is none.
    virtual bool is_directory(const std::string& path) = 0;
    // The user's roaming application data folder, without a trailing '\';
    // empty when the system does not say.
    virtual std::string app_data_folder() = 0;
    // The folder and any parents missing; true when it exists afterwards.
    virtual bool create_directories(const std::string& path) = 0;
    // Writes a file that must not exist yet (an existing one is left alone
    // and the answer is false); true only when every byte reached the disk.
    virtual bool write_new_file(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
    // The whole file; false when it cannot be read.
    virtual bool read_file(const std::string& path, std::vector<std::uint8_t>& bytes) = 0;
    // Writes the file, replacing one that is there (the caller asked first);
    // true only when every byte reached the disk.
    virtual bool replace_file(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
    // Adds the bytes at the end of the file, made when missing; true when
    // they all reached it. Nothing to add still tells whether it can be written.
    virtual bool append_file(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
    // Moves a file over another in the same folder, which it replaces
    // whole: a reader sees the old file or the new one, never half of one.
    virtual bool move_over(const std::string& from, const std::string& to) = 0;
};

}  // namespace veltrano::platform
