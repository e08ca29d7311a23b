#include "Sea.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

using namespace seatest;

TEST(loadResources, LoadsEveryAssetUnderItsLabelAndReportsEachMissingOneInOrder) {
    const std::vector<std::pair<std::string, std::string>> sprites{
        {"surfer", "Surfer"}, {"trash", "Trash"},     {"buoy", "Buoy"},     {"iceberg", "Iceberg"},
        {"shark", "Shark"},   {"powerup", "Powerup"}, {"surferFail", "ded"}};
    // the last two are music
    const std::vector<std::pair<std::string, std::string>> sounds{
        {"click", "click.wav"},           {"crash splash", "crash_splash.wav"},
        {"pick up", "pick_up.wav"},       {"game over voice", "game_over_voice.wav"},
        {"speed increase", "speed_increase.wav"}, {"menu music", "menu_music.ogg"},
        {"game music", "game_music.ogg"}};
    std::vector<std::string> expected;
    {
        Sea sea;
        loadResources();
        vk::ResourceManager &resources = vk::ResourceManager::getInstance();
        for (const auto &[label, file] : sprites) {
            ASSERT_NE(resources.getSprite(label), nullptr) << label;
            ASSERT_EQ(resources.loadSprite("sprites/" + file + "_sprite.txt", file), 0);
            EXPECT_EQ(resources.getSprite(label)->getFrame(0).getString(),
                      resources.getSprite(file)->getFrame(0).getString())
                << label;
            expected.push_back("RM::loadSprite(): Error! Cannot open file 'sprites/" + file + "_sprite.txt'.");
        }
        for (std::size_t i = 0; i < sounds.size(); i++) {
            const bool music = i >= 5;
            EXPECT_TRUE(music ? resources.getMusic(sounds[i].first) != nullptr
                              : resources.getSound(sounds[i].first) != nullptr)
                << sounds[i].first;
            expected.push_back(music ? "RM::loadmusic(): Error! Cannot load music from file 'sounds/" +
                                           sounds[i].second + "'."
                                     : "RM::loadSound(): Error! Cannot load sound from file 'sounds/" +
                                           sounds[i].second + "'.");
        }
    }

    // in a folder without assets it goes on, reporting each
    Sea sea;
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir(sea.env.dir().c_str()), 0);
    loadResources();
    ASSERT_EQ(chdir(here), 0);
    std::vector<std::string> reported;
    for (const std::string &message : sea.env.logMessages())
        if (message.find("Error! Cannot") != std::string::npos)
            reported.push_back(message);
    EXPECT_EQ(reported, expected);
}
