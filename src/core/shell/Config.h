#pragma once
#include <QString>

// Where the program and its per-machine files live, and the per-machine settings file
// EFCONFIG.TXT ("name=value" lines, GBK text).
//
// The program folder is where an administrator puts EFCONFIG.TXT and data/ on a shop PC. An
// installed copy (e.g. under /usr or /opt) cannot write there, so its per-machine files move to
// the user's XDG data folder (~/.local/share/qelvo/): EFCONFIG.TXT, data/ and data/backup/.
// A settings file beside such an installed program is still read, beneath the user's file, so
// that an installation can preset DataNetPath for every user of the machine.

// The folder of the executable, with a trailing separator ("/" stays "/", never "").
QString AppPath();
// Points AppPath() somewhere else (tests, portable set-ups); an empty path ends the override.
void SetAppPathOverride(const QString &folder);

// The user's data folder for an installed program, with a trailing separator.
QString UserDataPath();
// Points UserDataPath() somewhere else; an empty path ends the override.
void SetUserDataPathOverride(const QString &folder);

// Whether the program folder takes the per-machine files.
bool AppPathWritable();
// The folder of the per-machine files: AppPath() when writable, else UserDataPath().
QString AppDataPath();

// The settings file that writes go to, and the read-only one beneath it (empty when the
// program folder is writable: then there is only one).
QString ConfigFilePath();
QString InstalledConfigFilePath();

// The value of a key (names compare without regard to case, the first matching line wins);
// "" when the file or the key is missing. The file is read on every call, so an edit by
// another process between two calls is seen.
QString ReadConfig(const QString &key);
// Sets the key, replacing the value on its line or appending a line; an empty value deletes
// the line. The file is rewritten whole and atomically. Throws AppError when the key or value
// cannot be stored as one line, or the file cannot be written.
void WriteConfig(const QString &key, const QString &value);

// The data directory: the key DataNetPath as written (the account code is appended to it
// directly, so a value without a trailing separator glues the code to the folder name), or
// AppDataPath() + "data/" when the key is missing.
QString ConfiguredDataNetPath();
