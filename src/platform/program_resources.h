#pragma once

// Registers the program's built-in images (icons). They are compiled into a
// static library, whose registration the linker would otherwise leave out;
// every window that shows one calls this first. Cheap after the first call.
void EnsureProgramResources();
