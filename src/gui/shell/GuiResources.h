#pragma once

// Registers the pictures and the help file compiled into the gui library. A static library's
// resources are not linked in unless someone asks for them; safe to call more than once.
void InitGuiResources();
