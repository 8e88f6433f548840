#include "app/record_mode.h"

#include <cstdlib>
#include <filesystem>

#include "host/headless/png_file.h"
#include "test_support.h"

namespace lw {

namespace fs = std::filesystem;
using RecordTest = test::HostTest;

namespace {
fs::path freshFolder(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / ("lumenwaltz-test-" + name);
    fs::remove_all(folder);
    return folder;
}

int runProgram(const std::string& arguments) {
    const std::string command = std::string(LW_PROGRAM_PATH) + " " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

TEST_F(RecordTest, ArgumentsAreReadOrRefusedWithAReason) {
    std::string error;
    const auto options = app::parseRecordArguments({"--record", "out", "--frames", "12", "--size", "640x480", "--seed", "99"}, error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_EQ(options->directory, "out");
    EXPECT_EQ(options->frames, 12);
    EXPECT_EQ(options->width, 640);
    EXPECT_EQ(options->height, 480);
    EXPECT_EQ(options->seed, 99u);
    EXPECT_TRUE(app::parseRecordArguments({"--record", "o", "--frames", "1", "--size", "16384x1"}, error));
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--record", "out"}, {"--record", "out", "--frames", "0"}, {"--record", "out", "--frames", "5x"},
             {"--record", "out", "--frames", "3", "--size", "640x0"}, {"--record", "out", "--frames", "3", "--size", "16385x10"},
             {"--record", "out", "--frames", "3", "--seed", "-1"}, {"--record", "out", "--frames"}}) {
        error.clear();
        EXPECT_FALSE(app::parseRecordArguments(arguments, error).has_value()) << arguments.back();
        EXPECT_FALSE(error.empty());
    }
}

// The program itself refuses what it cannot do before it draws, and records the scene frame by
// frame until the last, after which it ends as a user ends it, through Esc.
TEST_F(RecordTest, TheProgramRefusesBadArgumentsOrRecordsEveryFrame) {
    const fs::path folder = freshFolder("program");
    EXPECT_EQ(runProgram("--record " + folder.string() + " --frames 2 --size 0x10"), 2);
    EXPECT_FALSE(fs::exists(folder / "frame-00001.png"));
    EXPECT_EQ(runProgram("--record /proc/lumenwaltz-cannot-write --frames 2"), 2);
    EXPECT_EQ(runProgram("--record " + folder.string() + " --frames 2 --size 96x64 --seed 3"), 0);
    for (const char* name : {"frame-00001.png", "frame-00002.png"}) {
        headless::Picture picture;
        std::string error;
        ASSERT_TRUE(headless::readPng((folder / name).string(), picture, error)) << error;
        EXPECT_EQ(picture.width, 96);
        EXPECT_EQ(picture.height, 64);
        // The first frame is a real frame, not the black flash of the first full clear.
        EXPECT_EQ(picture.pixels[0], 0xA08CF0u) << name;
    }
    EXPECT_FALSE(fs::exists(folder / "frame-00003.png"));
    fs::remove_all(folder);
}

}  // namespace lw
