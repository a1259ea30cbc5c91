#include "common/file_exists.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/sim_files.h"

namespace qm {
namespace {

TEST(FileExists, OnlyAReadableFileCounts) {
    sim::SimFiles files;
    files.AddFile("C:\\Touch\\QMVender.Bmp");
    files.AddUnreadableFile("C:\\Touch\\QMVender.Cut");
    files.AddFolder("C:\\Touch");

    struct Case {
        std::string path;
        bool exists;
    };
    const Case cases[] = {
        {"C:\\Touch\\QMVender.Bmp", true},
        {"c:\\TOUCH\\qmvender.bmp", true},       // compared without regard to case
        {"C:\\Touch\\QMVender.Bmp\\", true},     // one trailing backslash is dropped
        {"C:\\Touch\\QMVender.Bmp\\\\", false},  // but only one
        {"C:\\Touch\\QMVender.Cut", false},      // there, but cannot be read
        {"C:\\Touch", false},                    // a folder
        {"C:\\Touch\\", false},
        {"C:\\Touch\\QMLogo.Bmp", false},
        {"", false},
        {"\\", false},
        {std::string("C:\\Touch\\QMVender.Bmp\0.txt", 26), false},  // never cut short at NUL
    };
    for (const auto& c : cases) EXPECT_EQ(FileExists(files, c.path), c.exists) << c.path;
}

TEST(FileExists, OpensThePathWithTheBackslashDroppedOnce) {
    sim::SimFiles files;
    FileExists(files, "C:\\Touch\\QMLogo.Bmp\\");
    FileExists(files, "C:\\Touch\\\\");
    FileExists(files, "");
    FileExists(files, std::string("A\0B", 3));
    EXPECT_EQ(files.Opens(), (std::vector<std::string>{"C:\\Touch\\QMLogo.Bmp", "C:\\Touch\\"}));
}

}  // namespace
}  // namespace qm
