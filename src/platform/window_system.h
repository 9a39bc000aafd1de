#pragma once

#include <functional>

// Asks Qt for X11 first (then Wayland, when no X server can be reached) when
// the user named no Qt platform and an X display is there, also in a Wayland
// session through Xwayland: only on X11 can the program place its window,
// keep it on top and find other programs' windows. Call before the
// application object is made; returns whether it chose.
bool PreferX11WindowSystem();

// Takes back the choice once Qt has read it, so that the programs Scriblet
// starts get the user's own environment.
void ForgetWindowSystemChoice();

// Whether the window system tells where windows are and places them where
// asked; native Wayland does neither.
bool WindowPositionsKnown();

// Qt ends the process when its connection to the X server breaks (the server,
// or Xwayland, ended under the program). Its warning comes first, while every
// object still lives: then the action runs, once, also where the user's
// logging rules switch warnings off (they still keep them off the terminal).
// Replaces any earlier action.
void WhenX11ConnectionBreaks(std::function<void()> action);
