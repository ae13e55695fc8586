#include "include_circle/one.h"
#include "include_circle/two.h"
