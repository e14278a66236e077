// System DLLs that are not on the KnownDLLs list are bound at run time, and
// only ever from the system folder, so that a DLL planted beside the
// installer in a Downloads folder is never loaded.
#pragma once

#include <windows.h>

#include "win/Handles.h"

namespace win {

// Restricts the process's DLL search path to the system folder. Called first
// thing at start-up.
void RestrictDllSearchToSystemFolder();

// Loads a DLL by bare name from the system folder only.
UniqueModule LoadSystemLibrary(const char* name);

}  // namespace win
