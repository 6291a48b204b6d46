#pragma once
// What a start clears away: the temporary files of writes that were killed, in the folders the
// program writes and for the names it writes there, and nothing else.
#include <QString>

namespace startup {

// In the program folder and its folders HAO, 公式, home and home/3d (real folders, never
// links), the stale temporaries of the files the program writes there; beside the files that
// the draw files' links point at, those of the linked files. Returns how many were removed.
int RemoveStaleTemporaries(const QString& programDir);

}  // namespace startup
