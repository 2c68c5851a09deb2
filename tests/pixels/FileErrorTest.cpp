#include "pixels/FileError.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace slipway {
namespace {

TEST(FileError, SystemErrorsMapToTheirMessages) {
    struct Case {
        int error;
        const char* text;
    };
    const Case cases[] = {
        {ENOENT, "/d/a.tf was not found."},
        {ENAMETOOLONG, "/d/a.tf contains an invalid path."},
        {EMFILE, "/d/a.tf could not be opened because there are too many open files."},
        {EACCES, "Access to /d/a.tf was denied."},
        {EROFS, "Access to /d/a.tf was denied."},
        {EBADF, "An invalid file handle was associated with /d/a.tf."},
        {EMLINK, "/d/a.tf could not be created because the directory is full."},
        {ESPIPE, "Seek failed on /d/a.tf"},
        {EIO, "A hardware I/O error was reported while accessing /d/a.tf."},
        {EBUSY, "A sharing violation occurred while accessing /d/a.tf."},
        {ENOLCK, "A locking violation occurred while accessing /d/a.tf."},
        {ENOSPC, "Disk full while accessing /d/a.tf."},
        {EDQUOT, "Disk full while accessing /d/a.tf."},
        {0, "An unknown error occurred while accessing /d/a.tf."},
        {EPROTO, "An unknown error occurred while accessing /d/a.tf."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fileErrorText(fileErrorCauseFromErrno(c.error), "/d/a.tf"), c.text) << c.error;
    }
    EXPECT_EQ(fileErrorText(FileErrorCause::RemoveCurrentDirectory, "x"),
              "x could not be removed because it is the current directory.");
    EXPECT_EQ(fileErrorText(FileErrorCause::EndOfFile, "x"),
              "An attempt was made to access x past its end.");
    EXPECT_EQ(fileErrorText(FileErrorCause::None, "x"), "");
}

}  // namespace
}  // namespace slipway
