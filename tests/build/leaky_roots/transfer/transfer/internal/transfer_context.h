// An internal header in its own room.
#pragma once
