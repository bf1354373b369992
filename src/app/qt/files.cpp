#include "app/qt/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include "app/capped_read.h"
#include "app/qt/text.h"

namespace morvane::qt {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

// The kind of a failed read.
FileError ReadReason(int error)
{
    using enum FileError::Kind;
    switch (error) {
    case ENOENT:
    case ENOTDIR: return {NotFound};
    case EACCES:
    case EPERM: return {NoAccess};
    case EISDIR: return {IsFolder};
    case ENAMETOOLONG: return {BadName};
    case EIO: return {DiskError};
    default: return {SystemError, ToText(QString::fromLocal8Bit(std::strerror(error))), error};
    }
}

// Why QSaveFile could not start: it says only that it failed.
FileError OpenReason(const QFileInfo& target, const QSaveFile& file)
{
    using enum FileError::Kind;
    if (target.isDir()) return {IsFolder};
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir()) return {FolderNotFound};
    if (!folder.isWritable()) return {NoAccess};
    return {SystemWords, ToText(file.errorString())};
}

FileError WriteReason(const QSaveFile& file)
{
    if (file.error() == QFileDevice::ResourceError) return {FileError::Kind::DiskFull};
    return {FileError::Kind::WriteFailed, ToText(file.errorString())};
}

} // namespace

Files::ReadResult DiskFiles::ReadAll(const std::u16string& path, std::size_t max_bytes)
{
    ReadResult result;
    // Non-blocking, so that a FIFO chosen by mistake cannot hang the window.
    const Descriptor file(::open(QFile::encodeName(ToQString(path)).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.Get() < 0) {
        result.error = ReadReason(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        result.error = ReadReason(errno);
        return result;
    }
    if (S_ISDIR(info.st_mode)) {
        result.error = FileError{FileError::Kind::IsFolder};
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.error = FileError{FileError::Kind::NotAFile};
        return result;
    }
    return ReadCapped(static_cast<std::uint64_t>(info.st_size), max_bytes,
                      [&file](char* buffer, std::size_t size, ReadResult& read) -> std::optional<std::size_t> {
                          for (;;) {
                              const ssize_t got = ::read(file.Get(), buffer, size);
                              if (got >= 0) return static_cast<std::size_t>(got);
                              if (errno == EINTR) continue;
                              read.error = ReadReason(errno);
                              return std::nullopt;
                          }
                      });
}

std::u16string UserConfigFolder()
{
    return ToText(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                  QStringLiteral("/morvane/"));
}

std::u16string UserDataFolder()
{
    return ToText(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/morvane/"));
}

bool DiskFiles::MakeFolder(const std::u16string& path) { return QDir().mkpath(ToQString(path)); }

bool DiskFiles::Exists(const std::u16string& path) { return QFileInfo::exists(ToQString(path)); }

bool DiskFiles::ReadOnly(const std::u16string& path)
{
    // Not writable by us, or by nobody at all: root may write anything.
    const QFileInfo target(ToQString(path));
    constexpr QFileDevice::Permissions kWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return target.exists() && !target.isDir() && (!target.isWritable() || (target.permissions() & kWrite) == 0);
}

std::optional<FileError> DiskFiles::WriteReplacing(const std::u16string& path, const std::string& bytes)
{
    const QFileInfo target(ToQString(path));
    // QSaveFile writes beside the target and renames only after every byte
    // is on disk, so a failure leaves any old file as it was.
    QSaveFile file(target.filePath());
    if (!file.open(QIODevice::WriteOnly)) return OpenReason(target, file);
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) return WriteReason(file);
    if (!file.commit()) return WriteReason(file);
    return std::nullopt;
}

} // namespace morvane::qt
