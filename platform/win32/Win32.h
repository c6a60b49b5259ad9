#pragma once
// <windows.h> for the adapters and their tests. Its ANSI/wide switch macros DeleteFile, MoveFile,
// GetDriveType and MessageBox would rename the port methods of the same names in whichever files
// see them and not in the others; the adapters call the *W functions by name, so the macros go.
#include <windows.h>

#undef DeleteFile
#undef MoveFile
#undef GetDriveType
#undef MessageBox
