#pragma once

// A plain widget made a window of its own (the stopwatch's time, the help)
// is a window to screen readers too, not a nameless container. Call once,
// before such windows are asked about.
void AnnounceOwnWindowsAsWindows();
