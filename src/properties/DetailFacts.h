// The media details the file properties window shows: taken from what the viewer page of the
// type recorded when the record describes this very file (it keeps the loop and tile marks), else
// read from the file itself with the marks off.
#pragma once

#include "app/MediaType.h"

#include <QString>
#include <cstdint>

class App;

struct DetailFacts
{
    int width = 0;
    int height = 0;
    bool monochrome = false;
    int64_t lengthMs = 0;
    bool repeat = false;
    bool inWindow = false; // AVI played by the animation control
    bool animated = false, interlaced = false, transparent = false;
    int frameCount = 0;
    int speed = 0; // percent
    bool tile = false;
};

// path: a drive path ("C:\Photos\a.bmp"); type: its media type.
DetailFacts ReadDetailFacts(App &app, const QString &path, MediaType type);
