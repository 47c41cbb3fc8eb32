// Plays a scenario through the Windows stand-in.
#pragma once

#include "sim/core/play.h"
#include "sim/windows/host.h"
