#pragma once

#include <vessik/export.h>

#include <vessik/core/Manager.h>
#include <vessik/resources/Music.h>
#include <vessik/resources/Sound.h>
#include <vessik/resources/Sprite.h>

#include <memory>
#include <string>

namespace vk {

inline constexpr int MAX_SPRITES = 1000;
inline constexpr int MAX_SOUNDS = 100;
inline constexpr int MAX_MUSICS = 50;

// Longest line a sprite file may hold; a longer one (or a file with no line
// ends at all) is refused before it is read into memory.
inline constexpr int MAX_SPRITE_LINE = 4096;

// Loads sprites, sounds and music once and hands them out by label. The
// resource manager owns them all: sprite pointers stay valid until shutDown(),
// sound and music pointers point into fixed slots and stay valid for the life
// of the program. Callers never delete what they get.
//
// Sprite files come in two text formats, told apart by their first line: the
// simple one (frame count, width, height, slowdown, colour, then the rows) and
// the robust one (<HEADER>, <BODY> and <FOOTER> sections of keyword lines and
// rows). Either may end its lines with CRLF.
class VK_API ResourceManager : public Manager {
  public:
    static ResourceManager &getInstance();
    ~ResourceManager() override;

    int startUp() override;
    // Deletes the sprites and stops every sound and music piece.
    void shutDown() override;

    // 0 on success; -1, with the reason in the log, leaving the manager's
    // tables as they were.
    int loadSprite(std::string filename, std::string label);
    int loadSound(std::string filename, std::string label);
    int loadMusic(std::string filename, std::string label);

    // The first asset loaded under `label` (exact, case-sensitive), or null.
    // They work whether or not the manager is started.
    [[nodiscard]] Sprite *getSprite(std::string label) const;
    [[nodiscard]] Sound *getSound(std::string label);
    [[nodiscard]] Music *getMusic(std::string label);

    // The loudness of every sound and piece of music, playing or started
    // later, 0 to 100 (values beyond are clamped). Muting silences them all
    // and unmuting brings the volume back. Both return to 100 and unmuted at
    // shutDown().
    void setMasterVolume(float percent);
    [[nodiscard]] float getMasterVolume() const noexcept { return m_master_volume; }
    void setMuted(bool muted);
    [[nodiscard]] bool isMuted() const noexcept { return m_muted; }

  private:
    ResourceManager();
    void applyVolume() const;

    std::unique_ptr<Sprite> m_p_sprite[MAX_SPRITES];
    int m_sprite_count = 0;
    Sound m_sound[MAX_SOUNDS];
    int m_sound_count = 0;
    Music m_music[MAX_MUSICS];
    int m_music_count = 0;
    float m_master_volume = 100;
    bool m_muted = false;
};

} // namespace vk
