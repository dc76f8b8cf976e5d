#pragma once
#include <QString>

// Clearing every business table of an account set cannot be undone, so the main window's
// hidden entry for it asks for a fixed access code first; only the vendor's support staff
// hand it out. Change it here and nowhere else.
inline constexpr char kClearDataAccessCode[] = "7315902864";

// Asks for the access code in an input box; a wrong code is reported and the answer is false.
// Cancelling the box is a silent false.
bool AskClearDataAccessCode();
