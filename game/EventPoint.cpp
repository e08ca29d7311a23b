#include "EventPoint.h"

EventPoint::EventPoint(int value) : m_value(value) { setType(POINT_EVENT); }
