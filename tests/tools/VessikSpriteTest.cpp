#include "TestEnv.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

const std::string ROBUST = "<HEADER>\nslowdown 4\ncolor green\nheight 2\nwidth 3\nframes 2\n</HEADER>\n"
                           "<BODY>\n#o#\nooo\nend\no#o\n###\nend\n</BODY>\n<FOOTER>\nversion 1\n</FOOTER>\n";
const std::string SIMPLE = "2\n3\n2\n4\ngreen\n#o#\nooo\no#o\n###\n";
const std::string SHOWN = "frame 1 of 2, 3 x 2, slowdown 4\n\033[32m#o#\033[0m\n\033[32mooo\033[0m\n"
                          "frame 2 of 2, 3 x 2, slowdown 4\n\033[32mo#o\033[0m\n\033[32m###\033[0m\n";

std::string crlf(std::string text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.replace(at, 1, "\r\n");
    return text;
}

struct Outcome {
    int status = -1;
    std::string output; // standard output and error together
};

Outcome tool(const std::string &args) {
    Outcome run;
    FILE *p_pipe = popen((std::string(VESSIK_SPRITE) + " " + args + " 2>&1").c_str(), "r");
    if (!p_pipe)
        return run;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, p_pipe)) > 0;)
        run.output.append(buffer, n);
    const int status = pclose(p_pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

TEST(VessikSprite, EachCommandOnGoodAndBrokenFiles) {
    vktest::TestEnv env;
    env.writeFile("robust.txt", ROBUST);
    env.writeFile("robust-crlf.txt", crlf(ROBUST));
    env.writeFile("simple-crlf.txt", crlf(SIMPLE));
    env.writeFile("clear.txt", ROBUST.substr(0, ROBUST.find("</HEADER>")) + "transparency \" \"\n" +
                                    ROBUST.substr(ROBUST.find("</HEADER>")));
    env.writeFile("short-row.txt", "1\n3\n1\n0\nred\nab\n");
    env.writeFile("no-footer.txt", ROBUST.substr(0, ROBUST.find("<FOOTER>")));
    const auto p = [&](const char *name) { return env.path(name); };
    const std::string short_row = p("short-row.txt") + ": ";
    struct Case {
        std::string args;
        int status;
        std::string expected; // the whole output, or a part of it when it starts with "..."
    };
    const Case cases[] = {
        {"check " + p("robust-crlf.txt") + " " + p("simple-crlf.txt"), 0, "...simple-crlf.txt: ok\n"},
        {"check " + p("robust.txt") + " " + p("short-row.txt"), 1,
         "..." + short_row + "RM::loadSimpleSprite(): Error line 6!\n" + short_row + "\tLine  6: 'ab'\n" + short_row +
             "\tWidth is 2, expected 3.\n" + short_row + "RM::loadSprite(): Sprite '" + p("short-row.txt") +
             "' NOT loaded.\n" + short_row + "failed\n"},
        {"check " + p("no-footer.txt"), 1, "...readData(): Error line 16! Expected '<FOOTER>', have ''.\n"},
        {"check " + p("missing.txt"), 1, "...RM::loadSprite(): Error! Cannot open file '" + p("missing.txt") + "'.\n"},
        {"show " + p("robust-crlf.txt"), 0, SHOWN},
        {"show " + p("simple-crlf.txt"), 0, SHOWN},
        {"show " + p("clear.txt"), 0, "...\033[32m#o#\033[0m\n"},
        {"show " + p("short-row.txt"), 1, "...Width is 2, expected 3.\n"},
        {"convert " + p("robust-crlf.txt") + " --to simple", 0, SIMPLE},
        {"convert " + p("clear.txt") + " --to simple", 1,
         p("clear.txt") + ": cannot convert to the simple format: the simple format has no transparent character "
                          "(this sprite's is ' ')\n"},
        {"convert " + p("no-footer.txt") + " --to robust", 1, "...Expected '<FOOTER>', have ''.\n"},
        {"convert " + p("robust.txt") + " --to fancy", 2, "usage: ..."},
        {"show", 2, "usage: ..."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args);
        const Outcome run = tool(c.args);
        EXPECT_EQ(run.status, c.status);
        if (c.expected.rfind("...", 0) == 0)
            EXPECT_NE(run.output.find(c.expected.substr(3)), std::string::npos) << run.output;
        else if (c.expected.size() > 3 && c.expected.compare(c.expected.size() - 3, 3, "...") == 0)
            EXPECT_EQ(run.output.rfind(c.expected.substr(0, c.expected.size() - 3), 0), 0u) << run.output;
        else
            EXPECT_EQ(run.output, c.expected);
    }
}

TEST(VessikSprite, ConvertedBothWaysASpriteLoadsTheSame) {
    vktest::TestEnv env;
    env.writeFile("clear.txt", ROBUST.substr(0, ROBUST.find("</HEADER>")) + "transparency #\n" +
                                   ROBUST.substr(ROBUST.find("</HEADER>")));
    env.writeFile("robust.txt", crlf(ROBUST));
    const std::string robust = env.path("robust.txt");
    const std::string simple = env.path("simple.txt");
    const std::string again = env.path("again.txt");
    ASSERT_EQ(tool("convert " + robust + " --to simple -o " + simple).status, 0);
    ASSERT_EQ(tool("convert " + simple + " --to robust -o " + again).status, 0);
    EXPECT_EQ(vktest::readFile(simple), SIMPLE);
    EXPECT_EQ(tool("show " + again).output, SHOWN);
    // transparency survives robust to robust
    ASSERT_EQ(tool("convert " + env.path("clear.txt") + " --to robust -o " + again).status, 0);
    EXPECT_EQ(tool("show " + again).output, tool("show " + env.path("clear.txt")).output);
    EXPECT_NE(vktest::readFile(again).find("\ntransparency #\n"), std::string::npos);
}
