// "quavik --find-player" and "quavik --list-servers": the public servers of
// a game, from its masters' lists, asked who is playing; without a display.
// See find_player_arguments.h for the arguments and find_player_output.h for
// what is printed.
//
// The masters are asked all at once (each at most once per 15 minutes per
// game, see master/list_cache.h), their lists filtered and merged, and every
// listed server asked over one socket; matches are printed as they come.
// While standard error is a terminal a progress line is kept there.
// Exit code: 0 found (or the list printed), 1 nobody of that name answered,
// 2 unusable arguments, 3 no master gave a list and none younger than 15
// minutes is kept.
#pragma once

int RunFindPlayerCommandLine(int argc, char** argv);
