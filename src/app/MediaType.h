// Media type codes and the one table that describes them. Code order (ALL, then the twelve types as
// the program has always numbered them, then the seven later ones) indexes the records; tab order
// (ALL, the twelve alphabetically, then the seven in code order) only places the tabs. Every table
// of the program about a type reads this one.
#pragma once

#include "components/FileFacts.h"

#include <QString>
#include <array>
#include <cstdint>

enum class MediaType : int8_t {
    None = -1,
    ALL = 0,
    ANI,
    AVI,
    BMP,
    JPG,
    MID,
    WAV,
    GIF,
    PCX,
    TIF,
    WMF,
    EMF,
    ICO,
    PNG,
    WEBP,
    MP3,
    OGG,
    FLAC,
    MP4,
    MKV
};

inline constexpr MediaType mtNone = MediaType::None;
inline constexpr MediaType mtALL = MediaType::ALL;
inline constexpr MediaType mtANI = MediaType::ANI;
inline constexpr MediaType mtAVI = MediaType::AVI;
inline constexpr MediaType mtBMP = MediaType::BMP;
inline constexpr MediaType mtJPG = MediaType::JPG;
inline constexpr MediaType mtMID = MediaType::MID;
inline constexpr MediaType mtWAV = MediaType::WAV;
inline constexpr MediaType mtGIF = MediaType::GIF;
inline constexpr MediaType mtPCX = MediaType::PCX;
inline constexpr MediaType mtTIF = MediaType::TIF;
inline constexpr MediaType mtWMF = MediaType::WMF;
inline constexpr MediaType mtEMF = MediaType::EMF;
inline constexpr MediaType mtICO = MediaType::ICO;
inline constexpr MediaType mtPNG = MediaType::PNG;
inline constexpr MediaType mtWEBP = MediaType::WEBP;
inline constexpr MediaType mtMP3 = MediaType::MP3;
inline constexpr MediaType mtOGG = MediaType::OGG;
inline constexpr MediaType mtFLAC = MediaType::FLAC;
inline constexpr MediaType mtMP4 = MediaType::MP4;
inline constexpr MediaType mtMKV = MediaType::MKV;

inline constexpr int kTypeCount = 20; // ALL, the twelve types and the seven after them
inline constexpr int kTableRows = 21; // the records indexed by type; the first empty row ends them

constexpr int code(MediaType t)
{
    return static_cast<int>(t);
}
// The type of a code; None outside 0..19.
constexpr MediaType mediaTypeOf(int code)
{
    return code >= 0 && code < kTypeCount ? static_cast<MediaType>(code) : MediaType::None;
}
constexpr bool isMediaType(MediaType t)
{
    return code(t) >= 1 && code(t) < kTypeCount;
}

// ALL and the media types, in code order; the media types alone.
inline constexpr std::array<MediaType, kTypeCount> kAllTypes = {
    mtALL, mtANI, mtAVI, mtBMP, mtJPG,  mtMID, mtWAV, mtGIF,  mtPCX, mtTIF,
    mtWMF, mtEMF, mtICO, mtPNG, mtWEBP, mtMP3, mtOGG, mtFLAC, mtMP4, mtMKV};
inline constexpr std::array<MediaType, kTypeCount - 1> kMediaTypes = {
    mtANI, mtAVI, mtBMP, mtJPG,  mtMID, mtWAV, mtGIF,  mtPCX, mtTIF, mtWMF,
    mtEMF, mtICO, mtPNG, mtWEBP, mtMP3, mtOGG, mtFLAC, mtMP4, mtMKV};

// Which details the file properties window shows for a type (its third tab's page and caption).
enum class DetailsKind : int8_t { None, Cursor, Clip, Picture, Jpeg, Tune, Gif, Icon };

struct MediaTypeInfo
{
    MediaType type;
    const char *code;                       // "ALL", "ANI" .. "MKV": object names (tsANI, tvANI), art files
    const char *extension;                  // "$$$" for ALL, ".ANI" ..: the first of extensions
    std::array<const char *, 4> extensions; // every extension of the type, upper case; null ends them
    const char *tabName;                    // row name of the tab table: "$$$", "ANI" ..
    const char *descriptionFr;
    const char *descriptionEn;
    const char *scanFlagKey;       // settings key of the type's scan flag, empty for ALL
    int tabOrder;                  // position of the type's tab among the twenty
    int listPicture;               // picture of the type's files in the lists
    DetailsKind details;           // the file properties window's details
    mediafacts::FactsReader facts; // what that window reads from a file no page recorded
};

// The row of a type (ALL for None: callers check the type first).
const MediaTypeInfo &mediaTypeInfo(MediaType t);
// The type whose tab stands at this position, None outside 0..19.
MediaType typeAtTabOrder(int position);

// A table indexed by type code (rows 0..20 by default; row 20 stays empty and ends it).
template <typename T, size_t Rows = kTableRows> struct TypeTable : std::array<T, Rows>
{
    using std::array<T, Rows>::operator[];
    T &operator[](MediaType t) { return (*this)[static_cast<size_t>(code(t))]; }
    const T &operator[](MediaType t) const { return (*this)[static_cast<size_t>(code(t))]; }
};
