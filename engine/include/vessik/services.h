#pragma once

// Services: object serialization, paths and path finding, and the network
// manager with its event.
#include <vessik/services/EventNetwork.h>
#include <vessik/services/EventPath.h>
#include <vessik/services/NetworkManager.h>
#include <vessik/services/Path.h>
#include <vessik/services/PathFind.h>
#include <vessik/services/PathManager.h>
#include <vessik/services/serialization.h>
