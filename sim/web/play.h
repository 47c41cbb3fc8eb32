// Plays a scenario through the web stand-in.
#pragma once

#include "sim/core/play.h"
#include "sim/web/host.h"
