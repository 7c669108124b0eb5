// The help viewer as the shell sees it: the help-export subsystem fills it
// at start-up. Until then ShowTopic says in the Messages pane what it
// would have shown.
#pragma once

struct HelpSeam {
    // target is "<help file>::/<topic>", as "/prog/help.chm::/Index.htm".
    void (*ShowTopic)(const char* target);
};

extern HelpSeam theHelpSeam;

void ResetHelpSeam();
