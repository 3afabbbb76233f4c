#include <gtest/gtest.h>

#include "config/GameLocation.h"
#include "config/GameParams.h"
#include "tests/support/TempDir.h"
#include "tools/PackWriter.h"

namespace brv {
namespace {

bool mentions(const std::vector<std::string>& lines, const std::string& what) {
    for (const auto& line : lines) {
        if (line.find(what) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(GameParams, ReadsEveryRuleWithItsConversion) {
    test::TempDir dir;
    dir.write(
        "dat/param.txt",
        std::string("m_time_demo 20\nm_flag_per_count \"4 6\"\nm_min_life_reserve \"010 20 30\"\n"
                    "m_max_population 010\nm_speed 1.5\nm_virus_visible 1.5\nm_dalpha 0.25\n"
                    "m_distance_beween_viruses 4.5\nm_life_src_dist 12.5 m_time_before_demo 3000"));
    dir.write("mui/menu.txt", std::string("m_qd_x 12.7"));
    GameParams params(dir.path());
    EXPECT_EQ(params.m_time_demo, 600);
    EXPECT_EQ(params.m_flag_per_count[0], 4);
    EXPECT_EQ(params.m_flag_per_count[1], 6);
    EXPECT_EQ(params.m_flag_per_count[2], 0);
    EXPECT_EQ(params.m_min_life_reserve[0], 8);
    EXPECT_EQ(params.m_min_life_reserve[2], 30);
    EXPECT_EQ(params.m_max_population, 10);
    EXPECT_FLOAT_EQ(params.m_speed, 1.5f);
    EXPECT_EQ(params.m_virus_visible, 1);
    EXPECT_FLOAT_EQ(params.m_dalpha, 0.25f);
    EXPECT_FLOAT_EQ(params.m_distance_beween_viruses, 4.5f);
    EXPECT_FLOAT_EQ(params.m_life_src_dist, 12.5f);
    EXPECT_EQ(params.m_time_before_demo, 3000);
    EXPECT_EQ(params.m_window_width, 800);
    EXPECT_EQ(params.m_window_height, 600);
    EXPECT_EQ(params.m_screen_width, 800);
    EXPECT_EQ(params.m_screen_height, 600);
    EXPECT_EQ(params.m_key_cancel, 27);
    EXPECT_EQ(params.m_key_confirm, 13);
    // The layout keeps its strings; users convert on the spot.
    EXPECT_EQ(toInt(params.m_layout.get("m_qd_x", "0")), 12);
    EXPECT_FLOAT_EQ(toFloat(params.m_layout.get("m_qd_x", "0")), 12.7f);
}

TEST(GameParams, EmptyRulesAreAllZeroAndRejectedByName) {
    test::TempDir dir;
    dir.write("dat/param.txt", std::string());
    dir.write("mui/menu.txt", std::string());
    GameParams params(dir.path());
    EXPECT_EQ(params.m_max_population, 0);
    EXPECT_EQ(params.m_viruses_on_start[2], 0);
    EXPECT_FLOAT_EQ(params.m_speed, 0.0f);
    auto problems = params.startupProblems();
    for (const char* key :
         {"m_distance_beween_viruses", "m_speed", "m_virus_visible", "m_max_life_reserve",
          "m_life_src_max_life_reserve", "m_life_src_add_prob", "m_flag_per_count"}) {
        EXPECT_TRUE(mentions(problems, key)) << key;
    }
    EXPECT_FALSE(mentions(problems, "m_life_src_visible"));
    EXPECT_FALSE(mentions(problems, "found neither"));
}

TEST(GameParams, MissingFilesAreNamedWithWhereTheyWereSought) {
    test::TempDir dir;
    GameParams params(dir.path());
    auto problems = params.startupProblems();
    EXPECT_TRUE(mentions(problems, "\"dat/param.txt\" was found neither"));
    EXPECT_TRUE(mentions(problems, "\"mui/menu.txt\" was found neither"));
    EXPECT_TRUE(mentions(problems, dir.path() + "/data/data.pk\""));
    EXPECT_FALSE(mentions(problems, "//"));
    // Flags and life sources without a description animate on one frame;
    // the game starts and names the missing descriptions.
    EXPECT_FALSE(mentions(problems, ".spr"));
    EXPECT_TRUE(mentions(params.dataDamage(), "dat/flag.spr: missing or empty"));
    test::TempDir counted;
    counted.write("dat/life_src.spr", std::string("file_name mui/l.tga frames 0 groups 48888888"));
    GameParams zero(counted.path());
    EXPECT_EQ(zero.m_life_src_animation.frames(), 1);
    EXPECT_TRUE(mentions(zero.dataDamage(), "dat/life_src.spr: frames 0 counts as 1"));
    // A count so large that a cycle's length would overflow is cut, and named.
    EXPECT_EQ(zero.m_life_src_animation.groups(), SpriteAnimation::kMaxCells);
    EXPECT_TRUE(mentions(zero.dataDamage(), "groups 48888888 counts as 256"));
    EXPECT_EQ(params.m_flag_animation.frames(), 1);
    EXPECT_EQ(params.m_life_src_animation.groups(), 1);
}

TEST(GameParams, ArchiveEntriesWinOverLooseFiles) {
    test::TempDir dir;
    std::vector<std::uint8_t> archive;
    std::string error;
    const std::string rules = "m_max_population 77";
    const std::string flag = "file_name mui/flag.tga frames 6";
    ASSERT_TRUE(encodePack({{"dat/param.txt", {rules.begin(), rules.end()}},
                            {"dat/flag.spr", {flag.begin(), flag.end()}}},
                           archive, error));
    dir.write("data/data.pk", archive);
    dir.write("dat/param.txt", std::string("m_max_population 5"));
    dir.write("mui/menu.txt", std::string("m_nd_width 420"));
    dir.write("dat/flag.spr", std::string("frames 2"));
    dir.write("dat/life_src.spr", std::string("frames 3 groups 2"));
    GameParams params(dir.path());
    EXPECT_EQ(params.m_max_population, 77);
    EXPECT_EQ(params.m_layout.get("m_nd_width", "0"), "420");
    EXPECT_EQ(params.m_flag_animation.frames(), 6);
    EXPECT_EQ(params.m_life_src_animation.frames(), 3);
    EXPECT_EQ(params.m_life_src_animation.groups(), 2);
}

TEST(GameParams, ShippedRulesAreValid) {
    GameParams shipped(std::string(BREVORA_SOURCE_DIR) + "/assets");
    EXPECT_TRUE(shipped.startupProblems().empty()) << shipped.startupProblems().front();
    EXPECT_GT(shipped.m_flag_animation.frames(), 1);
    EXPECT_GT(shipped.m_life_src_animation.frames(), 1);
}

TEST(GameParams, DataSetIsSoughtInTheWorkingFolderBesideTheExecutableThenInItsInstallTree) {
    test::TempDir dir;
    const std::string work = dir.file("work");
    const std::string installedExe = dir.file("usr/games/brevora");
    dir.write("usr/share/games/brevora/data/data.pk", std::string("archive"));
    dir.write("work/readme", std::string());
    GameLocation found = locateGame(work, installedExe);
    EXPECT_EQ(found.dir, dir.file("usr/share/games/brevora"));
    EXPECT_TRUE(found.installed);
    // A game folder started from elsewhere.
    dir.write("game/data/data.pk", std::string("archive"));
    found = locateGame(work, dir.file("game/brevora"));
    EXPECT_EQ(found.dir, dir.file("game"));
    EXPECT_FALSE(found.installed);
    // Loose rules in the working folder win, as they always did.
    dir.write("work/dat/param.txt", std::string("m_speed 1"));
    found = locateGame(work, installedExe);
    EXPECT_EQ(found.dir, work);
    EXPECT_FALSE(found.installed);
    // Found nowhere: every folder looked at is named.
    GameParams params(locateGame(dir.file("elsewhere"), dir.file("bin/brevora")));
    EXPECT_TRUE(mentions(params.startupProblems(), "was found in \"" + dir.file("elsewhere") +
                                                       "\", \"" + dir.file("bin") + "\", \"" +
                                                       dir.file("share/games/brevora") + "\""));
}

TEST(GameParams, RuleChecksFollowThePreconditions) {
    test::TempDir dir;
    GameParams params(dir.path());
    KeyValueFile rules;
    const std::string good =
        "m_distance_beween_viruses 4 m_speed 1 m_virus_visible 9 m_life_src_visible 53 "
        "m_min_life_reserve \"1 1 1\" m_max_life_reserve \"2 2 2\" "
        "m_life_src_min_life_reserve \"1 1 1\" m_life_src_max_life_reserve \"2 2 2\" "
        "m_life_src_add_prob \"1 1 1\" m_flag_per_count \"1 1 1\" "
        "m_viruses_on_start \"1 1 1\" m_max_population 1";
    rules.loadFromMemory(good.data(), good.size(), true);
    params.readRules(rules);
    EXPECT_TRUE(params.ruleProblems().empty());

    params.m_virus_visible = 10;
    params.m_life_src_visible = 54;
    params.m_distance_beween_viruses = 3.99f;
    params.m_max_life_reserve[1] = 1;
    auto problems = params.ruleProblems();
    EXPECT_EQ(problems.size(), 4u);
    EXPECT_TRUE(mentions(problems, "m_virus_visible 10"));
    EXPECT_TRUE(mentions(problems, "m_life_src_visible 54"));
    EXPECT_TRUE(mentions(problems, "m_distance_beween_viruses 3.99"));
    EXPECT_TRUE(mentions(problems, "m_max_life_reserve 2 1 2"));

    // A speed that makes move step counts overflow, and source reserves whose
    // span overflows, are refused too.
    params.readRules(rules);
    params.m_speed = 1e-9f;
    params.m_life_src_min_life_reserve[0] = -999999999;
    params.m_life_src_max_life_reserve[0] = 999999999;
    problems = params.ruleProblems();
    EXPECT_EQ(problems.size(), 3u);
    EXPECT_TRUE(mentions(problems, "m_speed 1e-09"));
    EXPECT_TRUE(mentions(problems, "m_life_src_min_life_reserve -999999999"));
    EXPECT_TRUE(mentions(problems, "m_life_src_max_life_reserve 999999999"));
}

// Rules under which a colony cannot start, or a move cannot count its steps,
// are named; the values just inside still pass.
TEST(GameParams, RulesThatEndEveryGameAtOnceAreRefusedByName) {
    test::TempDir dir;
    const std::string common =
        "m_virus_visible 4 m_max_population 1 m_max_life_reserve \"2 2 2\" "
        "m_life_src_max_life_reserve \"2 2 2\" m_life_src_add_prob \"1 1 1\" "
        "m_flag_per_count \"1 1 1\" ";
    const auto problems = [&](const std::string& text) {
        dir.write("dat/param.txt", common + text);
        return GameParams(dir.path()).ruleProblems();
    };
    EXPECT_TRUE(
        problems("m_distance_beween_viruses 70.9 m_speed 1 m_viruses_on_start \"4 4 4\"").empty());
    EXPECT_TRUE(
        problems("m_distance_beween_viruses 4 m_speed 4.7e-7 m_viruses_on_start \"1156 1 1\"")
            .empty());
    auto found = problems("m_distance_beween_viruses 71 m_speed 1 m_viruses_on_start \"-1 5 5\"");
    EXPECT_EQ(found.size(), 2u);
    EXPECT_TRUE(
        mentions(found, "m_distance_beween_viruses 71 (its whole part must lie from 4 to 70"));
    EXPECT_TRUE(mentions(found, "m_viruses_on_start -1 5 5 (every value must be at least 1)"));
    found = problems("m_distance_beween_viruses 70 m_speed 1 m_viruses_on_start \"4 5 4\"");
    EXPECT_EQ(found, (std::vector<std::string>{"m_viruses_on_start 4 5 4 (every value must lie "
                                               "from 1 to 4, the cells of a start square at "
                                               "this pitch)"}));
    found = problems(
        "m_distance_beween_viruses 4 m_speed 4.6e-7 m_viruses_on_start 1 "
        "m_max_population 0");
    EXPECT_EQ(found.size(), 3u);
    EXPECT_TRUE(mentions(found, "m_speed 4.6e-07 (must be at least about 4.63e-07"));
    EXPECT_TRUE(mentions(found, "m_viruses_on_start 1 0 0"));
    EXPECT_TRUE(mentions(found, "m_max_population 0"));
}

// The life bound and the handicaps are read as whole decimal numbers or
// refused at start-up by key and value, never by their leading digits.
TEST(GameParams, LifeBoundAndHandicapsAreWholeNumbersOrRefusedByName) {
    test::TempDir dir;
    dir.write("mui/menu.txt", std::string("m_nd_width 420"));
    const std::string good =
        "m_distance_beween_viruses 4 m_speed 1 m_virus_visible 4 m_max_population 1 "
        "m_max_life_reserve \"2 2 2\" m_life_src_max_life_reserve \"2 2 2\" "
        "m_life_src_add_prob \"1 1 1\" m_flag_per_count \"1 1 1\" m_viruses_on_start \"1 1 1\" ";
    dir.write("dat/param.txt", good + "m_ai_think_ms \"300  0 7\" m_max_virus_life 2147483647");
    GameParams read(dir.path());
    EXPECT_TRUE(read.startupProblems().empty()) << read.startupProblems().front();
    EXPECT_EQ(read.m_ai_think_ms[0], 300);
    EXPECT_EQ(read.m_ai_think_ms[2], 7);
    EXPECT_EQ(read.m_max_virus_life[0], 2147483647);
    EXPECT_EQ(read.m_ai_attack_percent[1], 0);  // absent: the designed rule
    for (const char* key :
         {"m_max_virus_life", "m_ai_attack_percent", "m_ai_flag_per_count", "m_ai_think_ms"}) {
        for (const char* value : {"1e30", "NaN", "lots", "1.9", "0x10", "010", "1 2 3 4",
                                  "99999999999999999999", "1 -2147483649"}) {
            dir.write("dat/param.txt", good + key + " \"" + value + "\"");
            const auto problems = GameParams(dir.path()).startupProblems();
            ASSERT_EQ(problems.size(), 1u) << key << " " << value;
            EXPECT_EQ(problems[0].rfind(std::string("dat/param.txt: ") + key + " " + value +
                                            " (every value must be 0",
                                        0),
                      0u)
                << problems[0];
            EXPECT_TRUE(mentions(problems, "in decimal digits)"));
        }
    }
}

}  // namespace
}  // namespace brv
