// Plays a scenario through the Linux stand-in.
#pragma once

#include "sim/core/play.h"
#include "sim/linux/host.h"
