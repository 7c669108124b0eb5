// The program folder: where cfg/, Img/, log.txt and log_bak.txt live.
#pragma once

const int ModuleDirSize = 260;

// The program folder with its trailing "/"; empty until set.
extern char theModuleDir[ModuleDirSize];

// Sets theModuleDir to the folder of the running executable; FALSE (and
// theModuleDir empty) when it cannot be found or does not fit.
int InitModuleDir();
