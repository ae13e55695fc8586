#include "include_circle/two.h"
#include "include_circle/one.h"
