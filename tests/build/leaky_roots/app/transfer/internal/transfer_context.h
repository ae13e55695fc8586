// An internal header that another room's include root shows.
#pragma once
