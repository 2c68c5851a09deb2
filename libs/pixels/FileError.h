#pragma once
// The causes of file errors that end a command, their user texts ("%1" replaced by the path)
// and the mapping from the platform's error numbers.

#include <string>

namespace slipway {

enum class FileErrorCause {
    None,
    Unknown,
    FileNotFound,
    InvalidPath,
    TooManyOpenFiles,
    AccessDenied,
    InvalidFileHandle,
    RemoveCurrentDirectory,
    DirectoryFull,
    SeekFailed,
    HardwareError,
    SharingViolation,
    LockingViolation,
    DiskFull,
    EndOfFile,
};

// The cause for an errno value; 0 and unlisted values are Unknown.
FileErrorCause fileErrorCauseFromErrno(int error);
// The message text for `cause` naming `path`; empty for None.
std::string fileErrorText(FileErrorCause cause, const std::string& path);

}  // namespace slipway
