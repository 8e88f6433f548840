// "lumenwaltz --version" prints the version that CMake's project() names, as packages and
// scripts read it, and ends with 0.
#include <sys/wait.h>

#include <cstdio>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "lumenwaltz_version.h"

TEST(ProgramVersion, PrintsTheProjectVersionAndEndsWithZero) {
    FILE* pipe = popen(LW_PROGRAM_PATH " --version 2>&1", "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(output, "lumenwaltz " LW_VERSION "\n");
    EXPECT_TRUE(std::regex_match(LW_VERSION, std::regex(R"(\d+\.\d+\.\d+)"))) << LW_VERSION;
}
