#include "Frame.h"

#include <utility>

namespace vk {

Frame::Frame(int width, int height, std::string frame) : m_width(width), m_height(height), m_frame(std::move(frame)) {}

} // namespace vk
