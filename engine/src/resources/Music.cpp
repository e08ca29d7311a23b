#include <vessik/resources/Music.h>

#include <vessik/core/LogManager.h>
#include <vessik/resources/Sound.h>

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Music.hpp>

namespace vk {

Music::Music() = default;

Music::~Music() = default;

int Music::loadMusic(std::string filename) {
    if (!audioDeviceAvailable()) {
        sf::InputSoundFile file;
        m_is_open = file.openFromFile(filename);
        return m_is_open ? 0 : -1;
    }
    if (!m_p_music)
        m_p_music = std::make_unique<sf::Music>();
    m_is_open = m_p_music->openFromFile(filename);
    return m_is_open ? 0 : -1;
}

void Music::play(bool loop) {
    LogManager::getInstance().writeLog(5, "Music::play(): Playing music.");
    // a stream that never opened has nothing to play
    if (!m_p_music || !m_is_open || m_muted)
        return;
    // looping first: the stream starts reading at once, and a short piece
    // could reach its end before it learned to loop, and then play only once
    m_p_music->setLoop(loop);
    m_p_music->play();
}

void Music::pause() {
    LogManager::getInstance().writeLog(5, "Music::pause(): Pausing music.");
    if (m_p_music)
        m_p_music->pause();
}

void Music::stop() {
    LogManager::getInstance().writeLog(5, "Music::stop(): Stopping music.");
    if (m_p_music)
        m_p_music->stop();
}

} // namespace vk
