// The media details the file properties window shows: taken from what the viewer page of the
// type recorded when the record describes this very file (it keeps the loop and tile marks), else
// read from the file itself with the marks off. Pictures, sounds and videos of the Image, Song and
// Movie kinds are always read from the file (the records hold none of their codecs and tags), with
// the loop mark of the record of this very file.
#pragma once

#include "app/MediaType.h"
#include "components/FileFacts.h"

#include <QString>
#include <cstdint>

class App;

// What the file says of itself, and the marks of the page that showed it.
struct DetailFacts : mediafacts::FileFacts
{
    bool repeat = false;
    bool tile = false;
};

// path: a drive path ("C:\Photos\a.bmp"); type: its media type.
DetailFacts ReadDetailFacts(App &app, const QString &path, MediaType type);
