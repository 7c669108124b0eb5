// Private to Platform/ (it pulls in Qt): the printer the program prints to.
// Print Settings changes it; printing contexts are made on it.
#pragma once

class QPrinter;

// Made at the first call and kept for the rest of the run.
QPrinter* AfxAppPrinter();
