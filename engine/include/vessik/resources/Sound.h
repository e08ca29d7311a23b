#pragma once

#include <vessik/export.h>

#include <memory>
#include <string>

namespace sf {
class Sound;
class SoundBuffer;
} // namespace sf

namespace vk {

// Whether an audio output device can be opened. Asked once per process (the
// resource manager asks at start-up) and then remembered; when there is no
// device the log says so once, and sounds and music load as usual but play
// nothing. Without this, the audio library would spin and flood standard
// error trying to play into a device that does not exist.
[[nodiscard]] VK_API bool audioDeviceAvailable();

// The loudness of everything the program plays, sounds and music, started
// before or after: 0 (silent) to 100 (as recorded).
VK_API void setOverallVolume(float percent);

// A sound effect held whole in memory, playable any number of times. Sounds
// live in place in the resource manager's slots: the playable sound refers to
// the buffer of the same object, so a Sound is neither copied nor moved.
class VK_API Sound {
  public:
    Sound();
    ~Sound();
    Sound(const Sound &) = delete;
    Sound &operator=(const Sound &) = delete;
    Sound(Sound &&) = delete;
    Sound &operator=(Sound &&) = delete;

    // Loads the whole file, replacing earlier samples; the playable sound is
    // created at the first successful load and kept after that. 0, or -1 when
    // the file cannot be read (no log line: the caller names the file).
    int loadSound(std::string filename);

    void setLabel(std::string label) { m_label = std::move(label); }
    [[nodiscard]] std::string getLabel() const { return m_label; }

    // Starts the sound from its beginning, repeating until stop() when `loop`.
    void play(bool loop = false);
    void stop();

  private:
    // Created on the first load, and only when there is an audio device.
    std::unique_ptr<sf::SoundBuffer> m_p_sound_buffer;
    std::unique_ptr<sf::Sound> m_p_sound;
    std::string m_label = "[Undefined]";
};

} // namespace vk
