#pragma once

#include <vessik/export.h>

#include <string>

namespace vk {

// The names of the engine's event types. Handlers tell events apart by these
// names, never by class.
inline const std::string UNDEFINED_EVENT = "vk-undefined";
inline const std::string STEP_EVENT = "vk-step";
inline const std::string KEYBOARD_EVENT = "vk-keyboard";
inline const std::string MSE_EVENT = "vk-mouse";
inline const std::string COLLISION_EVENT = "vk-collision";
inline const std::string OUT_EVENT = "vk-out";
inline const std::string VIEW_EVENT = "vk-view";
inline const std::string PATH_EVENT = "vk-path";
inline const std::string NETWORK_EVENT = "vk-network";
inline const std::string KEYBOARD_NETWORK_EVENT = "vk-keyboard-network";
inline const std::string MSE_NETWORK_EVENT = "vk-mouse-network";
inline const std::string NETWORK_CREATE_EVENT = "vk-network-create";
inline const std::string CUSTOM_NETWORK_EVENT = "vk-custom-network";
inline const std::string NETWORK_DELETE_EVENT = "vk-network-delete";
inline const std::string NETWORK_GAME_OVER_EVENT = "vk-network-game-over";
inline const std::string NETWORK_SYNC_EVENT = "vk-network-sync";

// Something that happens to a game object. Events live on the raiser's stack
// and are handed to handlers by pointer; a handler never keeps the pointer.
class VK_API Event {
  public:
    Event() = default;
    virtual ~Event() = default;

    void setType(std::string type);
    [[nodiscard]] std::string getType() const;

  private:
    std::string m_event_type = UNDEFINED_EVENT;
};

} // namespace vk
