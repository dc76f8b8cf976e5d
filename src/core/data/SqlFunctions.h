#pragma once
struct sqlite3;

// Registers the Access functions the system's statements use (Year, Month, Day, Len, Mid, InStr, UCase, LCase, Val, Nz, IsNull, IIf, CStr, CDbl, CLng, CInt, Int, Fix, Format,
// Now) on one connection; every connection needs its own registration. SQLite's grammar
// reserves LEFT and RIGHT, so statements write Left(x,n) as substr(x,1,n) and Right(x,n) as
// substr(x,-n).
void RegisterAccessFunctions(sqlite3 *db);
