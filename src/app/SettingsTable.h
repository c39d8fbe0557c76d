// The one table of the settings keys (internal to Settings.cpp and its tests).
#pragma once

#include "app/Settings.h"

#include <span>

enum class SettingKind { Int, Flag, Text };

struct SettingKey
{
    const char *name;
    SettingKind kind;
    SettingGroup group;
    int defaultValue; // ints and flags; texts have their own default (see Settings.cpp)
    int minimum;      // range of an integer; minimum > maximum: none
    int maximum;
    int Settings::*intValue = nullptr;
    bool Settings::*flagValue = nullptr;
    QString Settings::*textValue = nullptr;
    int scanFlag = 0; // 1..19: the key of ScanFileFlags[scanFlag]
};

// Every key, the scan flags first, then in the order of the settings file's documentation; the
// keys of one group in the order their saver writes them.
std::span<const SettingKey> SettingKeys();
// The key of this name (case-insensitive, as the file compares), or nullptr.
const SettingKey *FindSettingKey(const char *name);
