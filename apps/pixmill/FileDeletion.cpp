#include "pixmill/FileDeletion.h"

#include <filesystem>
#include <system_error>

#include <QFile>
#include <QString>

#include "pixels/FileError.h"

namespace slipway::pixmill {

DeletionResult removeFiles(const std::vector<std::string>& paths, UserPrompt& prompt) {
    DeletionResult result;
    for (const std::string& path : paths) {
        if (QFile::moveToTrash(QString::fromLocal8Bit(path))) {
            ++result.trashed;
            continue;
        }
        std::error_code error;
        if (std::filesystem::remove(std::filesystem::path(path), error)) {
            ++result.deleted;
            continue;
        }
        const int code = error ? error.value() : ENOENT;
        tell(prompt, fileErrorText(fileErrorCauseFromErrno(code), path));
        result.stopped = true;
        break;
    }
    return result;
}

}  // namespace slipway::pixmill
