// The input screens of this build, made known to the input framework.
#pragma once

// Registers the window factory of every input screen this build has; called
// once by the framework before it opens a screen.
void RegisterInputScreens();
