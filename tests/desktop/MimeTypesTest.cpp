// The shared MIME package, built into a database of its own as update-mime-database builds it on
// a user's system, and asked about files the project writes and files of other programs that
// share their suffixes, through Qt's reader of the shared MIME database.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QMimeDatabase>
#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "TestFiles.h"
#include "make-demo-ship/DemoShip.h"
#include "pixels/PictureFixtures.h"
#include "pixels/TfFile.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

namespace fs = std::filesystem;

class MimeTypes : public ::testing::Test {
  protected:
    // Qt reads the database once, when it is first asked: point it at the package's own
    // database (and the system's) before that.
    static void SetUpTestSuite() {
        data_ = new test::TempDir;
        const fs::path packages = fs::path(data_->path()) / "mime" / "packages";
        fs::create_directories(packages);
        fs::copy_file(SLIPWAY_MIME_PACKAGE, packages / "slipway.xml");
        const std::string command =
            "XDG_DATA_DIRS=" + data_->path() + " update-mime-database " + data_->file("mime");
        ASSERT_EQ(std::system(command.c_str()), 0);
        setenv("XDG_DATA_HOME", data_->file("home").c_str(), 1);
        setenv("XDG_DATA_DIRS", (data_->path() + ":/usr/share").c_str(), 1);
    }
    static void TearDownTestSuite() {
        delete data_;
        data_ = nullptr;
    }

    static std::string typeOf(const std::string& path) {
        return QMimeDatabase().mimeTypeForFile(QString::fromStdString(path)).name().toStdString();
    }

    test::TempDir files_;

  private:
    static test::TempDir* data_;
};

test::TempDir* MimeTypes::data_ = nullptr;

std::vector<std::uint8_t> texture(std::uint32_t format16) {
    const PixelImage level16 = test::randomPicture(16, 8, format16, 3);
    const PixelImage level8 = test::randomPicture(16, 8, 8, 4, test::randomPalette(2));
    return encodeTf(&level16, format16 != 0 ? 1 : 0, &level8, 1);
}

// The demo ship holds every asset kind but textures; textures come from the TF writer. Named as
// the tools name them, each file is known by its suffix or its bytes, whatever the case.
TEST_F(MimeTypes, TheProjectsFilesAreKnown) {
    ASSERT_TRUE(demo::writeDemoShip(files_.path()));
    test::writeBytes(files_.file("hull_planks.tf"), texture(16));
    test::writeBytes(files_.file("Flag.TF"), texture(15 | formatAlpha));
    test::writeBytes(files_.file("palette.tf"), texture(0));
    fs::copy_file(files_.file("mast.cff"), files_.file("MAST.CFF"));
    fs::copy_file(files_.file("Demo.def"), files_.file("SHIP.DEF"));

    const std::pair<const char*, const char*> cases[] = {
        {"Demo.def", "application/x-slipway-def"}, {"SHIP.DEF", "application/x-slipway-def"},
        {"hull.clf", "model/x-slipway-clf"},       {"Piramid.cff", "model/x-slipway-cff"},
        {"MAST.CFF", "model/x-slipway-cff"},       {"Demo.sail", "application/x-slipway-sail"},
        {"hull_planks.tf", "image/x-slipway-tf"},  {"Flag.TF", "image/x-slipway-tf"},
        {"palette.tf", "image/x-slipway-tf"},      {"hull_planks.tga", "image/x-tga"},
    };
    for (const auto& [name, type] : cases)
        EXPECT_EQ(typeOf(files_.file(name)), type) << name;
}

// TF textures, DEF files and CLF models written by Meshview carry bytes that identify them
// under any name; CLF files from other tools need their suffix.
TEST_F(MimeTypes, TexturesDescriptionsAndModelsAreKnownByTheirBytes) {
    ASSERT_TRUE(demo::writeDemoShip(files_.path()));
    fs::copy_file(files_.file("Demo.def"), files_.file("Demo.def.orig"));
    fs::copy_file(files_.file("hull.clf"), files_.file("hull-copy"));
    test::writeBytes(files_.file("hull_planks.bin"), texture(12 | formatAlpha));
    test::writeBytes(files_.file("ship.bin"),
                     test::DefBuilder().model("hull.clf").model("mast.cff", 0, 1, 0, 0).bytes());
    std::vector<std::uint8_t> clf = test::readBytes(files_.file("hull.clf"));
    clf[0] = clf[1] = clf[2] = clf[3] = 0;  // as written by another tool
    test::writeBytes(files_.file("other.clf"), clf);
    test::writeBytes(files_.file("other-copy"), clf);

    const std::pair<const char*, const char*> cases[] = {
        {"Demo.def.orig", "application/x-slipway-def"}, {"ship.bin", "application/x-slipway-def"},
        {"hull-copy", "model/x-slipway-clf"},           {"hull_planks.bin", "image/x-slipway-tf"},
        {"other.clf", "model/x-slipway-clf"},           {"other-copy", "application/octet-stream"},
    };
    for (const auto& [name, type] : cases)
        EXPECT_EQ(typeOf(files_.file(name)), type) << name;
}

// ".tf" and ".def" belong to other programs too: their text files keep their own types, and
// binary files that merely begin with zeros are not taken for textures.
TEST_F(MimeTypes, OtherProgramsFilesWithTheSameSuffixesAreLeftAlone) {
    test::writeText(files_.file("main.tf"),
                    "resource \"aws_instance\" \"web\" {\n  ami = \"ami-123\"\n}\n");
    test::writeText(files_.file("variables.tf"), "");
    test::writeText(files_.file("library.def"), "LIBRARY example\nEXPORTS\n    start @1\n");
    test::writeBytes(files_.file("zeros.tf"), std::vector<std::uint8_t>(64, 0));
    std::vector<std::uint8_t> noLevels = texture(16);
    noLevels[6] = noLevels[7] = 0;
    test::writeBytes(files_.file("nolevels.tf"), noLevels);

    const std::pair<const char*, const char*> cases[] = {
        {"main.tf", "text/plain"},
        {"variables.tf", "application/x-zerosize"},
        {"library.def", "text/plain"},
        {"zeros.tf", "application/octet-stream"},
        {"nolevels.tf", "application/octet-stream"},
    };
    for (const auto& [name, type] : cases)
        EXPECT_EQ(typeOf(files_.file(name)), type) << name;
}

}  // namespace
}  // namespace slipway
