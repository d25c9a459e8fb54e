// Temporary files and folders of a run: the new content of a download
// before it is renamed into place, the private folder of the configuration
// file copies. Each is tracked while it exists, so that SIGINT, SIGTERM and
// SIGHUP remove it before the program ends; names carry the process id, so
// that leftovers of a process that was killed outright (SIGKILL, a crash)
// are removed by the next run that writes beside them.
#pragma once

#include <string>

// Tracks a temporary file or (is_dir) an empty-at-the-end folder; the
// folder's files must be tracked too. At most 32 names at once; a name past
// that or longer than 4095 bytes is not tracked (false).
bool temp_track(const std::string& path, bool is_dir = false);
// Stops tracking a name (it was renamed into place, removed, or is kept
// for the operator on purpose).
void temp_untrack(const std::string& path);
// Installs the handler that removes every tracked name, then ends the
// process as the signal would have. Chains to nothing: call it before any
// handler of one's own for the same signal.
void temp_cleanup_on_signals();
// Removes what the signal handler would remove (for a handler of one's own).
void temp_remove_tracked();
// In folder dir, removes the entries whose name is prefix + PID + one of
// "-." + anything, when no process PID is running. A folder is emptied of
// its regular files first. Returns the number of entries removed.
int temp_remove_stale(const std::string& dir, const std::string& prefix);
