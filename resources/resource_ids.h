#pragma once
// Resource ids shared by the resource script and the program.

#define IDI_CORVAN 1        // the window's and the program's icon
#define IDI_HELP_PICTURE 2  // the help picture
#define IDB_FLAGS 3         // the language list's 40 pictures in one strip
#define IDB_GLOBE 4         // the globe beside the language list
