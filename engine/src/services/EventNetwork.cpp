#include <vessik/services/EventNetwork.h>

#include <vessik/core/LogManager.h>

namespace vk {

EventNetwork::EventNetwork(int label) {
    setType(NETWORK_EVENT);
    setLabel(label);
}

int EventNetwork::setLabel(int label) {
    if (label < NETWORK_UNDEFINED || label > NETWORK_LABEL_MAX) {
        LogManager::getInstance().writeLog("EventNetwork::setLabel(): Undefined type (%d).", label);
        m_label = NETWORK_UNDEFINED;
        return -1;
    }
    m_label = label;
    return 0;
}

} // namespace vk
