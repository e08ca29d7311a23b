#include "Sea.h"
#include "XServer.h"

#include <vessik/display/Color.h>
#include <vessik/display/DisplayManager.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using namespace seatest;

namespace {

// Row `y` of the last frame drawn.
inline std::string row(int y) {
    return vk::DisplayManager::getInstance().getFrameText().lines().at(static_cast<std::size_t>(y));
}

// `text` alone on its row from `column` on, in an 80-column frame.
inline std::string atColumn(int column, const std::string &text) {
    return std::string(static_cast<std::size_t>(column), ' ') + text +
           std::string(80 - static_cast<std::size_t>(column) - text.size(), ' ');
}

// Whether the cell was drawn in `color`.
inline bool drawnIn(int x, int y, vk::Color color) {
    const vk::ScreenCell cell = vk::DisplayManager::getInstance().getFrameText().at(x, y);
    unsigned char r = 0, g = 0, b = 0;
    vk::colorToRGB(color, r, g, b);
    return cell.drawn && cell.r == r && cell.g == g && cell.b == b;
}

struct Line {
    int row;
    int column;
    std::string text;
    vk::Color color;
};

void expectLines(std::initializer_list<Line> lines) {
    for (const Line &line : lines) {
        EXPECT_EQ(row(line.row), atColumn(line.column, line.text));
        EXPECT_TRUE(drawnIn(line.column, line.row, line.color)) << line.text;
    }
}

const std::string BLANK(80, ' ');

} // namespace

// One window for all three, as starting its server dominates.
TEST(GameScreen, TitleGameOverAndSeaShowWhereAndWhenTheyShould) {
    vktest::XServer x_server;
    ASSERT_TRUE(x_server.ok()) << x_server.error();
    // with a window, frames are drawn: after `steps(n)` the frame text is the
    // last iteration's
    Sea sea(false, false);
    std::filesystem::create_directories(sea.env.path("data/swellrun"));
    sea.env.writeFile("data/swellrun/scores", "500 2025-01-01\n100 2024-12-31\n");
    auto *p_start = new GameStart;
    sea.steps(1);
    // the title: five yellow rows lined up in the middle
    std::size_t left = 80;
    std::size_t right = 0;
    for (int y = 3; y <= 7; y++) {
        ASSERT_NE(row(y), BLANK) << y;
        left = std::min(left, row(y).find_first_not_of(' '));
        right = std::max(right, row(y).find_last_not_of(' '));
        EXPECT_TRUE(drawnIn(static_cast<int>(row(y).find_first_not_of(' ')), y, vk::YELLOW));
    }
    EXPECT_EQ(left, 40 - (right + 1 - left) / 2);
    expectLines({{10, 17, "Dodge the obstacles and ride as far as you can!", vk::WHITE},
                 {12, 34, "- CONTROLS -", vk::CYAN},
                 {13, 10, "[W]  move up, [S]  move down, [SPACE] to increase speed", vk::WHITE},
                 {14, 36, "- RULES -", vk::CYAN},
                 {15, 10, "If you have enough speed you can destroy some obstacles", vk::WHITE},
                 {16, 10, "You get points passively and when obstacles are destroyed", vk::WHITE},
                 {17, 10, "Your speed automatically increases every 100 points", vk::WHITE},
                 {18, 10, "You fail if you lose too much speed, look out for speed boosters", vk::WHITE},
                 {19, 29, "Press any key to begin", vk::GREEN},
                 {21, 31, "ESC quits the game", vk::WHITE},
                 {1, 33, "BEST SCORE: 500", vk::YELLOW}});
    for (const int y : {0, 2, 8, 9, 11, 20, 22, 23})
        EXPECT_EQ(row(y), BLANK) << "row " << y;
    // the prompt hides from the 15th step for 15 steps
    sea.steps(14);
    EXPECT_EQ(row(19), BLANK);
    sea.steps(14);
    EXPECT_EQ(row(19), BLANK);
    sea.steps(1);
    expectLines({{19, 29, "Press any key to begin", vk::GREEN}});

    vk::WorldManager::getInstance().markForDelete(p_start);
    auto *p_over = new GameOver(123);
    sea.steps(1);
    const char *const banner[] = {
        "  ____    _    __  __ _____    _____     _______ ____  ",
        " / ___|  / \\  |  \\/  | ____|  / _ \\ \\   / / ____|  _ \\ ",
        "| |  _  / _ \\ | |\\/| |  _|   | | | \\ \\ / /|  _| | |_) |",
        "| |_| |/ ___ \\| |  | | |___  | |_| |\\ V / | |___|  _ < ",
        " \\____/_/   \\_\\_|  |_|_____|  \\___/  \\_/  |_____|_| \\_\\",
    };
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(row(3 + i), atColumn(13, banner[i]));
    EXPECT_TRUE(drawnIn(13, 5, vk::RED));
    // second of three runs: its rank and the table, this run in yellow
    expectLines({{11, 32, "FINAL SCORE: 123", vk::YELLOW},
                 {12, 37, "RANK 2", vk::WHITE},
                 {18, 36, "- TOP 5 -", vk::CYAN},
                 {19, 30, "1.     500  2025-01-01", vk::WHITE},
                 {20, 30, "2.     123  " + ScoreTable::today(), vk::YELLOW},
                 {21, 30, "3.     100  2024-12-31", vk::WHITE}});
    EXPECT_EQ(row(9) + row(22), BLANK + BLANK);
    EXPECT_EQ(row(15) + row(17), BLANK + BLANK);
    // the way out shows at the 20th step, in the hidden half of the
    // prompt's blink, which shows from the 30th
    sea.steps(18);
    EXPECT_EQ(row(17), BLANK);
    sea.steps(1);
    EXPECT_EQ(row(15), BLANK);
    expectLines({{17, 29, "Press Q or ESC to quit", vk::WHITE}});
    sea.steps(10);
    expectLines({{15, 27, "Press any key to play again", vk::GREEN}});

    vk::WorldManager::getInstance().markForDelete(p_over);
    p_over = new GameOver(600);
    sea.steps(1);
    expectLines({{9, 36, "NEW BEST!", vk::GREEN},
                 {12, 37, "RANK 1", vk::WHITE},
                 {19, 30, "1.     600  " + ScoreTable::today(), vk::YELLOW},
                 {22, 30, "4.     100  2024-12-31", vk::WHITE}});

    // the sea: one cyan line character per column within a row of each base,
    // the first rising from its base at the left edge; moving with the sea
    vk::WorldManager::getInstance().markForDelete(p_over);
    new Waves;
    std::vector<std::string> pictures;
    for (const float speed_now : {1.0f, 1.0f, 0.0f, 0.0f}) {
        speed().setSpeed(speed_now);
        sea.steps(15);
        std::string picture;
        std::vector<int> per_column(4 * 80);
        for (int y = 0; y < 24; y++)
            for (int x = 0; x < 80; x++)
                if (const char ch = row(y)[static_cast<std::size_t>(x)]; ch != ' ') {
                    EXPECT_NE(std::string("/\\-_").find(ch), std::string::npos) << ch;
                    EXPECT_TRUE(drawnIn(x, y, vk::CYAN));
                    // rows 1-3, 7-9, 13-15 and 19-21
                    ASSERT_LT((y + 5) % 6, 3) << "row " << y;
                    per_column[static_cast<std::size_t>((y + 1) / 6 * 80 + x)]++;
                    picture += ch;
                }
        EXPECT_EQ(per_column, std::vector<int>(4 * 80, 1));
        pictures.push_back(picture);
    }
    EXPECT_EQ(row(2)[0], '/');
    EXPECT_NE(pictures[1], pictures[0]);
    EXPECT_EQ(pictures[3], pictures[2]);
}
