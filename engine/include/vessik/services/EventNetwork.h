#pragma once

#include <vessik/export.h>

#include <vessik/core/Event.h>

namespace vk {

// What happened on a connection: the label of a network event.
inline constexpr int NETWORK_UNDEFINED = -1;
inline constexpr int NETWORK_ACCEPT = 0;  // a server accepted a connection
inline constexpr int NETWORK_CONNECT = 1; // this program connected to a server
inline constexpr int NETWORK_CLOSE = 2;   // a connection was closed
// 3 is also a valid label: the engine never raises it, games may use it.
inline constexpr int NETWORK_LABEL_MAX = 3;

// Raised by the network manager when a connection opens or closes and sent
// to every object interested in "vk-network". The message pointer does not
// own its bytes; the engine's own events carry none.
class VK_API EventNetwork : public Event {
  public:
    // A label outside -1 to 3 is logged and becomes -1.
    explicit EventNetwork(int label);

    // 0, or -1 (with a log line, the label then -1) for an undefined label.
    int setLabel(int label);
    [[nodiscard]] int getLabel() const noexcept { return m_label; }

    void setSocketIndex(int socket_index) noexcept { m_socket_index = socket_index; }
    [[nodiscard]] int getSocketIndex() const noexcept { return m_socket_index; }

    void setBytes(int bytes) noexcept { m_bytes = bytes; }
    [[nodiscard]] int getBytes() const noexcept { return m_bytes; }

    [[nodiscard]] const void *getMessage() const noexcept { return m_p_message; }

  private:
    int m_label = NETWORK_UNDEFINED;
    int m_socket_index = -1;
    int m_bytes = 0;
    const void *m_p_message = nullptr;
};

} // namespace vk
