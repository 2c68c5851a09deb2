#include "base/FileIo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TempDir.h"
#include "TestFiles.h"

namespace slipway {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

std::vector<std::string> entries(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        out.push_back(e.path().filename().string());
    }
    return out;
}

TEST(FileIo, ReadsWholeFilesAndRefusesDirectoriesAndOversizedFiles) {
    TempDir dir;
    writeBytes(dir.file("a"), {1, 2, 3});
    EXPECT_EQ(readFileBytes(dir.file("a")), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(readFileBytes(dir.file("missing")));
    EXPECT_FALSE(readFileBytes(dir.path()));
    EXPECT_FALSE(readFileBytes(dir.file("a"), 2));
}

TEST(FileIo, AtomicWriteCreatesAndReplacesKeepingPermissions) {
    TempDir dir;
    const std::string target = dir.file("model.clf");
    const std::vector<std::uint8_t> first{1, 2, 3, 4};
    ASSERT_TRUE(writeFileAtomically(target, first));
    EXPECT_EQ(readBytes(target), first);
    ::chmod(target.c_str(), 0640);
    const std::vector<std::uint8_t> second{9, 8};
    ASSERT_TRUE(writeFileAtomically(target, second));
    EXPECT_EQ(readBytes(target), second);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"model.clf"});
}

TEST(FileIo, AFailurePartWayLeavesTheOriginalByteIdenticalAndNoTemporary) {
    TempDir dir;
    const std::string target = dir.file("ship.def");
    std::vector<std::uint8_t> original(5000);
    for (std::size_t i = 0; i < original.size(); ++i) original[i] = static_cast<std::uint8_t>(i * 7);
    writeBytes(target, original);

    std::vector<std::uint8_t> replacement(8000, 0xEE);
    {
        AtomicFile file(target);
        file.failAfterBytes(3000);
        ASSERT_TRUE(file.open());
        EXPECT_FALSE(file.write(replacement));
        EXPECT_FALSE(file.commit());
    }
    EXPECT_EQ(readBytes(target), original);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"ship.def"});
}

TEST(FileIo, RoomReservedButNotWrittenIsNotPartOfTheFile) {
    TempDir dir;
    const std::string target = dir.file("t.bin");
    AtomicFile file(target);
    ASSERT_TRUE(file.open());
    file.reserve(4096);
    ASSERT_TRUE(file.write(std::vector<std::uint8_t>{7, 8, 9}));
    ASSERT_TRUE(file.commit());
    EXPECT_EQ(readBytes(target), (std::vector<std::uint8_t>{7, 8, 9}));
}

TEST(FileIo, AnAbandonedAtomicFileRemovesItsTemporary) {
    TempDir dir;
    const std::string target = dir.file("t.bin");
    writeBytes(target, {5});
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.write(std::vector<std::uint8_t>{1, 2}));
    }
    EXPECT_EQ(readBytes(target), std::vector<std::uint8_t>{5});
    EXPECT_EQ(entries(dir.path()).size(), 1u);
}

TEST(FileIo, AtomicWriteThroughALinkReplacesTheFileItLeadsTo) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("real"));
    writeBytes(dir.file("real/model.clf"), {1});
    std::filesystem::create_symlink("real/model.clf", dir.file("link.clf"));
    ASSERT_TRUE(writeFileAtomically(dir.file("link.clf"), std::vector<std::uint8_t>{2, 3}));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.clf")));
    EXPECT_EQ(readBytes(dir.file("real/model.clf")), (std::vector<std::uint8_t>{2, 3}));
    // A dangling link is refused rather than replaced by a file.
    std::filesystem::create_symlink("real/none.clf", dir.file("dangling.clf"));
    EXPECT_FALSE(writeFileAtomically(dir.file("dangling.clf"), std::vector<std::uint8_t>{4}));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("dangling.clf")));
}

TEST(FileIo, AtomicWriteIntoAMissingDirectoryFails) {
    TempDir dir;
    EXPECT_FALSE(writeFileAtomically(dir.file("no/such/file"), std::vector<std::uint8_t>{1}));
}

}  // namespace
}  // namespace slipway
