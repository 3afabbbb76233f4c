#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/TempDir.h"

namespace brv {
namespace {

std::string tool() {
    return std::string(BREVORA_BUILD_DIR) + "/bin/brevora-pack";
}

int run(const std::string& args, const std::string& outFile = "/dev/null") {
    const std::string command = tool() + " " + args + " >" + outFile + " 2>&1";
    return WEXITSTATUS(std::system(command.c_str()));
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(PackTool, CreateListExtractRoundTripIsReproducible) {
    test::TempDir dir;
    dir.write("src/dat/param.txt", std::string("m_speed 1\n"));
    dir.write("src/mui/tex/001.jpg", std::string("\xff\xd8 not really", 13));
    dir.write("src/a.txt", std::string());

    ASSERT_EQ(run("create " + dir.file("one.pk") + " " + dir.file("src")), 0);
    ASSERT_EQ(run("create " + dir.file("two.pk") + " " + dir.file("src")), 0);
    EXPECT_EQ(slurp(dir.file("one.pk")), slurp(dir.file("two.pk")));

    ASSERT_EQ(run("list " + dir.file("one.pk"), dir.file("list.txt")), 0);
    EXPECT_EQ(slurp(dir.file("list.txt")), "a.txt 0\ndat\\param.txt 10\nmui\\tex\\001.jpg 13\n");

    ASSERT_EQ(run("extract " + dir.file("one.pk") + " " + dir.file("out")), 0);
    EXPECT_EQ(slurp(dir.file("out/dat/param.txt")), "m_speed 1\n");
    EXPECT_EQ(slurp(dir.file("out/mui/tex/001.jpg")), slurp(dir.file("src/mui/tex/001.jpg")));
}

TEST(PackTool, RejectsWhatTheReaderCannotCarry) {
    test::TempDir dir;
    dir.write("src/" + std::string(80, 'n'), std::string("x"));
    EXPECT_NE(run("create " + dir.file("bad.pk") + " " + dir.file("src"), dir.file("err.txt")), 0);
    EXPECT_NE(slurp(dir.file("err.txt")).find("1 to 79"), std::string::npos);
    EXPECT_NE(run("create " + dir.file("bad.pk") + " " + dir.file("nowhere")), 0);
    EXPECT_NE(run("list " + dir.file("nowhere.pk")), 0);
    EXPECT_NE(run("frobnicate"), 0);
}

}  // namespace
}  // namespace brv
