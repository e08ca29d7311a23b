#include <vessik/resources/Sound.h>

#include <vessik/core/LogManager.h>

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Listener.hpp>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include <alc.h>

#include <new>

namespace vk {

namespace {

bool probeAudioDevice() {
    ALCdevice *p_device = alcOpenDevice(nullptr);
    if (!p_device) {
        LogManager::getInstance().writeLog(
            "audioDeviceAvailable(): Warning! No audio device could be opened: sounds and music will not play.");
        return false;
    }
    ALCcontext *p_context = alcCreateContext(p_device, nullptr);
    if (!p_context) {
        alcCloseDevice(p_device);
        LogManager::getInstance().writeLog(
            "audioDeviceAvailable(): Warning! The audio device cannot play: sounds and music will not play.");
        return false;
    }
    alcDestroyContext(p_context);
    alcCloseDevice(p_device);
    return true;
}

// Decodes the whole file without an audio device, so that a load succeeds or
// fails exactly as it would with one.
bool decodable(const std::string &filename) {
    sf::InputSoundFile file;
    if (!file.openFromFile(filename) || file.getChannelCount() == 0 || file.getSampleRate() == 0)
        return false;
    sf::Int16 samples[4096];
    sf::Uint64 total = 0;
    while (const sf::Uint64 count = file.read(samples, sizeof samples / sizeof samples[0]))
        total += count;
    return total > 0 && total == file.getSampleCount();
}

} // namespace

bool audioDeviceAvailable() {
    static const bool available = probeAudioDevice();
    return available;
}

void setOverallVolume(float percent) {
    // the listener hears every sound and stream; the library keeps the
    // value for a device opened later
    sf::Listener::setGlobalVolume(percent);
}

Sound::Sound() = default;

Sound::~Sound() {
    // the playable sound refers to the buffer: it goes first
    m_p_sound.reset();
}

int Sound::loadSound(std::string filename) {
    if (!audioDeviceAvailable())
        return decodable(filename) ? 0 : -1;

    if (!m_p_sound_buffer)
        m_p_sound_buffer = std::make_unique<sf::SoundBuffer>();
    if (!m_p_sound_buffer->loadFromFile(filename))
        return -1;
    if (m_p_sound) {
        m_p_sound->setBuffer(*m_p_sound_buffer);
        return 0;
    }
    m_p_sound.reset(new (std::nothrow) sf::Sound(*m_p_sound_buffer));
    if (!m_p_sound) {
        LogManager::getInstance().writeLog("Sound::loadSound(): Error! Cannot allocate m_p_sound.");
        return -1;
    }
    return 0;
}

void Sound::play(bool loop) {
    LogManager::getInstance().writeLog(5, "Sound::play(): Playing sound.");
    if (!m_p_sound)
        return;
    m_p_sound->setLoop(loop);
    m_p_sound->play();
}

void Sound::stop() {
    if (m_p_sound)
        m_p_sound->stop();
}

} // namespace vk
