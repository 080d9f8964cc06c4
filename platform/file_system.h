// What the registry analyser asks of the file system.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace veltrano::platform {

enum class DriveType { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

// What a look at a path found. Missing is said only when the system says
// the file or the path is not there; a refusal, a name too long or a network
// that does not answer prove nothing and are Unknown.
enum class PathState { File, Folder, Missing, Unknown };

// A file held open to add to its end again and again, as a log is written
// while the work goes on. Each append reaches the system before it returns:
// a run ended after it leaves it in the file.
class FileAppender {
public:
    virtual ~FileAppender() = default;
    // True when all the bytes reached the file.
    virtual bool append(const std::vector<std::uint8_t>& bytes) = 0;
};

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
    // The file appears whole or not at all: a write cut off leaves no file
    // of that name.
    virtual bool write_new_file(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
    // The whole file; false when it cannot be read.
    virtual bool read_file(const std::string& path, std::vector<std::uint8_t>& bytes) = 0;
    // Writes the file, replacing one that is there (the caller asked first);
    // true only when every byte reached the disk. The name holds the old
    // file until the new one is whole, then the new one: never a part.
    virtual bool replace_file(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
    // Adds the bytes at the end of the file, made when missing; true when
    // they all reached it. Nothing to add still tells whether it can be written.
    virtual bool append_file(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
    // The file, made when missing, to append to as often as needed; nullptr
    // when it cannot be written. Unless a file system does better, each
    // append opens the file anew (append_file).
    virtual std::unique_ptr<FileAppender> open_for_appending(const std::string& path);
    // The names (without the folder) of the folder's files whose names end
    // in `extension` (".reg"), in no particular order; empty when there are
    // none or the folder cannot be listed.
    virtual std::vector<std::string> file_names(const std::string& folder, const std::string& extension) = 0;
};

class AppendingByPath : public FileAppender {
public:
    AppendingByPath(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
    bool append(const std::vector<std::uint8_t>& bytes) override { return files_.append_file(path_, bytes); }

private:
    FileSystem& files_;
    std::string path_;
};

inline std::unique_ptr<FileAppender> FileSystem::open_for_appending(const std::string& path) {
    if (!append_file(path, {})) return nullptr;
    return std::make_unique<AppendingByPath>(*this, path);
}

}  // namespace veltrano::platform
