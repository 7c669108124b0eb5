// The program folder as the application object computes it from the
// executable's path, kept apart so that its edge cases can be tested.
#pragma once

// Copies at most size - 1 bytes of path into buffer, then clears the
// characters after the last separator ("/" or "\"), which stays; a path
// without a separator leaves the buffer empty.
void ModuleDirFromPath(const char* path, char* buffer, int size);
