#pragma once

#include "io/CObject.h"

class CStringList;

// A settings file of "[section]" lines and "key=value" lines. No file is held
// open: every read loads the whole file, every write loads and saves it.
// Names are compared exactly (case matters) after trimming blanks.
class CIniFile : public CObject
{
public:
    explicit CIniFile(const char* path);
    ~CIniFile() override;

    // The decimal value of the key, or fallback when the file, section or key
    // is missing or the value holds characters other than digits, '-', ','
    // and '.'. Values beyond the 32-bit range are clamped to it.
    int ReadInt(const char* section, const char* key, int fallback) const;
    // A new heap string: the value of the key, or a copy of fallback.
    char* ReadString(const char* section, const char* key, const char* fallback) const;

    // Writes key=value into the section, creating the file, the section or the
    // key as needed. False when the file could not be written.
    bool WriteInt(const char* section, const char* key, int value);
    bool WriteString(const char* section, const char* key, const char* value);

    const char* Path() const { return path; }

private:
    char* path;
};
