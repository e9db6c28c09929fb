// Hands a URL or file path to the desktop's opener (xdg-open) without a shell and without waiting
// for it; finished openers are reaped on later calls so no zombies pile up.
#pragma once

// True when the opener could be started; that it then finds a program for the URL is not known.
bool OpenWithDesktop(const char* url);
// Reaps openers that have finished; never blocks.
void ReapFinishedOpeners();
