#pragma once
// The injector's stand-ins for the file calls of Update.exe and TkZip.dll (and for Sleep and the tick
// counts, which a hold's waits read): each asks the ledger, then fails as told or makes the real call.
#include <windows.h>

class OperationLedger;

// The ledger every stand-in asks; set once, before any import is patched.
void UseLedger(OperationLedger& ledger);

// The stand-in for the function of that name (as imported or looked up), or null when it is not ours.
FARPROC StandInFor(const char* name);
