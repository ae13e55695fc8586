// A header whose source includes a header whose source includes it back.
#pragma once
#include "include_circle/three.h"
