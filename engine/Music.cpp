#include "Music.h"

#include "LogManager.h"
#include "Sound.h"

#include <SFML/Audio/InputSoundFile.hpp>

namespace vk {

int Music::loadMusic(std::string filename) {
    if (!audioDeviceAvailable()) {
        sf::InputSoundFile file;
        m_is_open = file.openFromFile(filename);
        return m_is_open ? 0 : -1;
    }
    if (!m_music)
        m_music.emplace();
    m_is_open = m_music->openFromFile(filename);
    return m_is_open ? 0 : -1;
}

void Music::play(bool loop) {
    LogManager::getInstance().writeLog(5, "Music::play(): Playing music.");
    // a stream that never opened has nothing to play
    if (!m_music || !m_is_open || m_muted)
        return;
    // looping first: the stream starts reading at once, and a short piece
    // could reach its end before it learned to loop, and then play only once
    m_music->setLoop(loop);
    m_music->play();
}

void Music::stop() {
    LogManager::getInstance().writeLog(5, "Music::stop(): Stopping music.");
    if (m_music)
        m_music->stop();
}

} // namespace vk
