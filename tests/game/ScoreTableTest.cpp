#include "Sea.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<int> scoresOf(const ScoreTable &table) {
    std::vector<int> scores;
    for (const ScoreTable::Entry &entry : table.getEntries())
        scores.push_back(entry.score);
    return scores;
}

// A table holding `scores` (best first), dated by their place.
ScoreTable tableOf(const std::string &path, const std::vector<int> &scores) {
    ScoreTable table(path);
    for (std::size_t i = 0; i < scores.size(); i++)
        table.insert(scores[i], "2024-01-" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1));
    return table;
}

// The number of log lines the table wrote.
int tableLogLines(const vktest::TestEnv &env) {
    int n = 0;
    for (const std::string &m : env.logMessages())
        n += m.rfind("ScoreTable::", 0) == 0;
    return n;
}

} // namespace

TEST(ScoreTable, RanksBestFirstWithTiesAfterEarlierRunsKeepsTenAndReadsBackWhatItWrote) {
    const std::vector<int> ten = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};
    const std::vector<int> nine(ten.begin(), ten.end() - 1);
    struct Case {
        std::vector<int> before;
        int score;
        int rank;
        std::vector<int> after;
    };
    const Case cases[] = {
        {{}, 0, 1, {0}},
        {{50, 30}, 40, 2, {50, 40, 30}},
        {{50, 30}, 60, 1, {60, 50, 30}},
        {{50, 30}, 50, 2, {50, 50, 30}},
        {{50, 30}, 30, 3, {50, 30, 30}},
        {nine, 5, 10, {100, 90, 80, 70, 60, 50, 40, 30, 20, 5}},
        {ten, 11, 10, {100, 90, 80, 70, 60, 50, 40, 30, 20, 11}},
        {ten, 10, 0, ten},
        {ten, 100, 2, {100, 100, 90, 80, 70, 60, 50, 40, 30, 20}},
    };
    vktest::TestEnv env;
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.before) + " + " + std::to_string(c.score));
        ScoreTable table = tableOf(env.path("data/swellrun/scores"), c.before);
        EXPECT_EQ(table.insert(c.score, "2025-06-01"), c.rank);
        EXPECT_EQ(scoresOf(table), c.after);
        // a tie goes below the run that got there first
        if (c.rank > 0) {
            EXPECT_EQ(table.getEntries()[static_cast<std::size_t>(c.rank - 1)].date, "2025-06-01");
        }

        ASSERT_EQ(table.save(), 0);
        ScoreTable read(table.getPath());
        EXPECT_EQ(read.load(), 0);
        EXPECT_EQ(read.getEntries(), table.getEntries());
    }
    EXPECT_EQ(vktest::readFile(env.path("data/swellrun/scores")), "100 2024-01-01\n100 2025-06-01\n90 2024-01-02\n"
                                                                 "80 2024-01-03\n70 2024-01-04\n60 2024-01-05\n"
                                                                 "50 2024-01-06\n40 2024-01-07\n30 2024-01-08\n"
                                                                 "20 2024-01-09\n");
    // only the table, no temporary file left beside it
    EXPECT_EQ(std::distance(fs::directory_iterator(env.path("data/swellrun")), fs::directory_iterator()), 1);
}

TEST(ScoreTable, AFileThatIsNotATableIsIgnoredWithOneLogLineAndBoundedReading) {
    const std::string lines_of_eleven = [] {
        std::string text;
        for (int i = 0; i < 11; i++)
            text += "5 2025-01-01\n";
        return text;
    }();
    struct Case {
        const char *name;
        std::function<void(const std::string &path)> make;
        int result;
        std::vector<int> scores;
    };
    auto write = [](std::string text) {
        return [text](const std::string &path) { std::ofstream(path, std::ios::binary) << text; };
    };
    const Case cases[] = {
        {"missing", [](const std::string &) {}, -1, {}},
        {"CRLF and out of order", write("7 2025-01-01\r\n9 2025-01-02\r\n"), 0, {9, 7}},
        {"empty", write(""), 0, {}},
        {"words", write("the best runs\n"), -1, {}},
        {"extra field", write("12 2025-01-01 x\n"), -1, {}},
        {"bad date", write("12 2025-1-01\n"), -1, {}},
        {"score too long", write("1234567890 2025-01-01\n"), -1, {}},
        {"NUL inside", write(std::string("12 2025-01-01\n\0\n", 16)), -1, {}},
        {"blank line", write("12 2025-01-01\n\n3 2025-01-01\n"), -1, {}},
        {"eleven runs", write(lines_of_eleven), -1, {}},
        {"one byte too many", write(std::string(ScoreTable::MAX_FILE_BYTES + 1, '1')), -1, {}},
        {"100 MB",
         [](const std::string &path) {
             std::ofstream(path).close();
             // sparse: no disk is filled
             fs::resize_file(path, 100 << 20);
         },
         -1,
         {}},
        {"folder", [](const std::string &path) { fs::create_directory(path); }, -1, {}},
        {"FIFO", [](const std::string &path) { mkfifo(path.c_str(), 0600); }, -1, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        seatest::Sea sea;
        const vktest::TestEnv &env = sea.env;
        const std::string path = env.path("scores");
        c.make(path);
        ScoreTable table(path);
        table.insert(1, "2025-01-01");
        EXPECT_EQ(table.load(), c.result);
        EXPECT_EQ(scoresOf(table), c.scores);
        if (c.result != 0) {
            EXPECT_EQ(tableLogLines(env), 1) << env.readLog();
        }
    }
}

// The game keeps going: the run is still ranked on the screen, and the log
// says why it was not kept.
TEST(ScoreTable, AFolderThatCannotBeMadeLeavesTheGamePlayable) {
    seatest::Sea sea;
    // the data folder's parent is a regular file: not even root can make it
    sea.env.writeFile("file", "");
    setenv("XDG_DATA_HOME", sea.env.path("file/data").c_str(), 1);
    EXPECT_EQ(ScoreTable::defaultPath(), sea.env.path("file/data/swellrun/scores"));
    EXPECT_EQ(ScoreTable(ScoreTable::defaultPath()).save(), -1);
    const auto *p_over = new GameOver(42);
    EXPECT_EQ(p_over->getRank(), 1);
    EXPECT_EQ(sea.steps(25, [](int i) {
                  if (i == 22)
                      seatest::press(seatest::kb::ENTER);
              }),
              25);
    EXPECT_EQ(seatest::count("Surfer"), 1);
    // one for the failed read and one for the failed write of each
    EXPECT_EQ(tableLogLines(sea.env), 3) << sea.env.readLog();
}

// Saves swap two tables while another thread keeps reading the file.
TEST(ScoreTable, AReaderSeesTheOldTableOrTheNewOneNeverAPart) {
    vktest::TestEnv env;
    const std::string path = env.path("data/swellrun/scores");
    const ScoreTable tables[] = {tableOf(path, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}), tableOf(path, {123456789})};
    std::string texts[2];
    for (int i = 0; i < 2; i++) {
        ASSERT_EQ(tables[i].save(), 0);
        texts[i] = vktest::readFile(path);
    }
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 200; i++)
            tables[i % 2].save();
        done = true;
    });
    int reads = 0;
    int torn = 0;
    while (!done) {
        const std::string text = vktest::readFile(path);
        torn += text != texts[0] && text != texts[1];
        reads++;
    }
    writer.join();
    EXPECT_GT(reads, 0);
    EXPECT_EQ(torn, 0);
}
