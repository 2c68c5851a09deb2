#include "pixels/FileError.h"

#include <cerrno>

namespace slipway {

FileErrorCause fileErrorCauseFromErrno(int error) {
    switch (error) {
        case ENOENT:
            return FileErrorCause::FileNotFound;
        case ENAMETOOLONG:
        case ENOTDIR:
        case EINVAL:
        case ELOOP:
            return FileErrorCause::InvalidPath;
        case EMFILE:
        case ENFILE:
            return FileErrorCause::TooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return FileErrorCause::AccessDenied;
        case EBADF:
            return FileErrorCause::InvalidFileHandle;
        case EBUSY:
            return FileErrorCause::SharingViolation;
        case EDEADLK:
        case ENOLCK:
            return FileErrorCause::LockingViolation;
        case EMLINK:
            return FileErrorCause::DirectoryFull;
        case ESPIPE:
            return FileErrorCause::SeekFailed;
        case EIO:
        case ENXIO:
        case ENODEV:
            return FileErrorCause::HardwareError;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return FileErrorCause::DiskFull;
        default:
            return FileErrorCause::Unknown;
    }
}

std::string fileErrorText(FileErrorCause cause, const std::string& path) {
    const char* text = nullptr;
    switch (cause) {
        case FileErrorCause::None:
            return {};
        case FileErrorCause::Unknown:
            text = "An unknown error occurred while accessing %1.";
            break;
        case FileErrorCause::FileNotFound:
            text = "%1 was not found.";
            break;
        case FileErrorCause::InvalidPath:
            text = "%1 contains an invalid path.";
            break;
        case FileErrorCause::TooManyOpenFiles:
            text = "%1 could not be opened because there are too many open files.";
            break;
        case FileErrorCause::AccessDenied:
            text = "Access to %1 was denied.";
            break;
        case FileErrorCause::InvalidFileHandle:
            text = "An invalid file handle was associated with %1.";
            break;
        case FileErrorCause::RemoveCurrentDirectory:
            text = "%1 could not be removed because it is the current directory.";
            break;
        case FileErrorCause::DirectoryFull:
            text = "%1 could not be created because the directory is full.";
            break;
        case FileErrorCause::SeekFailed:
            text = "Seek failed on %1";
            break;
        case FileErrorCause::HardwareError:
            text = "A hardware I/O error was reported while accessing %1.";
            break;
        case FileErrorCause::SharingViolation:
            text = "A sharing violation occurred while accessing %1.";
            break;
        case FileErrorCause::LockingViolation:
            text = "A locking violation occurred while accessing %1.";
            break;
        case FileErrorCause::DiskFull:
            text = "Disk full while accessing %1.";
            break;
        case FileErrorCause::EndOfFile:
            text = "An attempt was made to access %1 past its end.";
            break;
    }
    std::string result = text;
    const std::size_t at = result.find("%1");
    if (at != std::string::npos)
        result.replace(at, 2, path);
    return result;
}

}  // namespace slipway
