#pragma once

#include <vessik/export.h>

#include <memory>
#include <string>

namespace sf {
class Music;
} // namespace sf

namespace vk {

// A piece of music streamed from its file while it plays. Music lives in
// place in the resource manager's slots and is neither copied nor moved.
class VK_API Music {
  public:
    Music();
    ~Music();
    Music(const Music &) = delete;
    Music &operator=(const Music &) = delete;
    Music(Music &&) = delete;
    Music &operator=(Music &&) = delete;

    // Opens the file for streaming. 0, or -1 when it cannot be opened (no log
    // line: the caller names the file).
    int loadMusic(std::string filename);

    void setLabel(std::string label) { m_label = std::move(label); }
    [[nodiscard]] std::string getLabel() const { return m_label; }

    // Starts the music, repeating until stop() when `loop`; after pause(),
    // carries on from where it was; nothing while music is muted.
    void play(bool loop = true);
    void pause();
    void stop();

    // Mutes or unmutes every piece of music: while muted, play() starts
    // nothing. Music already playing is for its owner to stop.
    static void setMuted(bool muted) noexcept { m_muted = muted; }
    [[nodiscard]] static bool isMuted() noexcept { return m_muted; }

  private:
    static inline bool m_muted = false;
    // Created on the first load, and only when there is an audio device.
    std::unique_ptr<sf::Music> m_p_music;
    bool m_is_open = false;
    std::string m_label = "[Undefined]";
};

} // namespace vk
