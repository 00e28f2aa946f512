// Crash-safe writing, renaming and removing of the save files.
#include "save/DurableFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

#include "save/SaveError.h"

namespace quillon {

namespace {

[[noreturn]] void Fail(int errorNumber) { throw ESaveFileError(InOutErrorText(errorNumber)); }

// Writes all bytes to the open file, flushes and closes it.
void WriteAndClose(int fd, std::string_view bytes) {
    int error = 0;
    while (!bytes.empty() && error == 0) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno != EINTR) error = errno;
        } else {
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    // A delayed write error (a full disk on some file systems) can first show up at close.
    if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
    if (error != 0) Fail(error);
}

}  // namespace

void WriteFileSynced(const std::filesystem::path& file, std::string_view bytes) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) Fail(errno);
    WriteAndClose(fd, bytes);
}

void WriteNewFileSynced(const std::filesystem::path& file, std::string_view bytes) {
    RemoveFileIfPresent(file);
    // A fresh regular file: whatever else appears under the name in between (a pipe, a link) fails
    // the exclusive creation instead of blocking or writing elsewhere.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) Fail(errno);
    WriteAndClose(fd, bytes);
}

void KeepCopy(const std::filesystem::path& file, const std::filesystem::path& copy) {
    RemoveFileIfPresent(copy);
    if (::link(file.c_str(), copy.c_str()) == 0) return;
    if (errno == ENOENT) return;
    // A file system without hard links gets a real copy.
    std::error_code ec;
    std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) Fail(ec.value());
}

void RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) Fail(errno);
}

bool RemoveFileIfPresent(const std::filesystem::path& file) {
    if (::unlink(file.c_str()) == 0) return true;
    if (errno == ENOENT) return false;
    Fail(errno);
}

void SyncDirectory(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) Fail(errno);
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot flush a folder; their renames are as durable as they get.
    if (result != 0 && error != EINVAL && error != ENOTSUP) Fail(error);
}

void EnsureDirectory(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) Fail(ec.value());
}

void WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    try {
        WriteNewFileSynced(temporary, bytes);
        RenameFile(temporary, file);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw;
    }
    SyncDirectory(file.has_parent_path() ? file.parent_path() : std::filesystem::path("."));
}

}  // namespace quillon
