#pragma once
#include <QString>

// The machine's network name (at most 15 characters); empty on failure.
QString ComputerName();
// The first local IPv4 address as dotted text ("127.0.0.1" when there is no other).
QString LocalIP();
