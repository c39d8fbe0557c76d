#include "app/MediaType.h"

namespace {
// Tabs: ALL first, then the twelve types in alphabetical order of their codes, then the seven after.
// One row a line: clang-format would spread each over a dozen.
// clang-format off
const MediaTypeInfo kTable[kTypeCount] = {
    {mtALL, "ALL", "$$$", {}, "$$$", "", "", "", 0, 5, DetailsKind::None, nullptr},
    {mtANI, "ANI", ".ANI", {".ANI"}, "ANI", "Curseur animé/image", "Animated cursor/image", "Scan_File_ANI", 1, 7,
     DetailsKind::Cursor, mediafacts::readSizeFileFacts},
    {mtAVI, "AVI", ".AVI", {".AVI"}, "AVI", "Clip video AVI", "Video clip AVI", "Scan_File_AVI", 2, 8,
     DetailsKind::Clip, mediafacts::readClipFileFacts},
    {mtBMP, "BMP", ".BMP", {".BMP"}, "BMP", "Image bitmap", "Bitmap image", "Scan_File_BMP", 3, 9,
     DetailsKind::Picture, mediafacts::readPictureFileFacts},
    {mtJPG, "JPG", ".JPG", {".JPG"}, "JPG", "Image JPEG", "JPEG image", "Scan_File_JPG", 7, 10,
     DetailsKind::Jpeg, mediafacts::readJpegFileFacts},
    {mtMID, "MID", ".MID", {".MID"}, "MID", "Séquence MIDI", "MIDI sequence", "Scan_File_MID", 8, 11,
     DetailsKind::Tune, mediafacts::readSoundFileFacts},
    {mtWAV, "WAV", ".WAV", {".WAV"}, "WAV", "Fichier WAV", "WAV file", "Scan_File_WAV", 11, 12,
     DetailsKind::Tune, mediafacts::readSoundFileFacts},
    {mtGIF, "GIF", ".GIF", {".GIF"}, "GIF", "Fichier image GIF", "GIF image file", "Scan_File_GIF", 5, 13,
     DetailsKind::Gif, mediafacts::readGifFileFacts},
    {mtPCX, "PCX", ".PCX", {".PCX"}, "PCX", "Image ZSoft Paintbrush", "ZSoft Paintbrush image", "Scan_File_PCX", 9, 14,
     DetailsKind::Picture, mediafacts::readPictureFileFacts},
    {mtTIF, "TIF", ".TIF", {".TIF"}, "TIF", "Image 'Tagged Image Format'", "Tagged Image File Format",
     "Scan_File_TIF", 10, 15, DetailsKind::Picture, mediafacts::readPictureFileFacts},
    {mtWMF, "WMF", ".WMF", {".WMF"}, "WMF", "Windows Metafile", "Windows Metafile", "Scan_File_WMF", 12, 16,
     DetailsKind::Picture, mediafacts::readPictureFileFacts},
    {mtEMF, "EMF", ".EMF", {".EMF"}, "EMF", "Windows Metafile", "Windows Metafile", "Scan_File_EMF", 4, 17,
     DetailsKind::Picture, mediafacts::readPictureFileFacts},
    {mtICO, "ICO", ".ICO", {".ICO"}, "ICO", "Icône Windows", "Windows Icon", "Scan_File_ICO", 6, 18,
     DetailsKind::Icon, mediafacts::readSizeFileFacts},
    // The seven after the twelve: their tabs follow the twelve's, in code order.
    {mtPNG, "PNG", ".PNG", {".PNG", ".APNG"}, "PNG", "Image PNG", "PNG image", "Scan_PNG", 13, 19,
     DetailsKind::Picture, mediafacts::readPictureFileFacts},
    {mtWEBP, "WEBP", ".WEBP", {".WEBP"}, "WEBP", "Image WebP", "WebP image", "Scan_WEBP", 14, 20,
     DetailsKind::Picture, mediafacts::readPictureFileFacts},
    {mtMP3, "MP3", ".MP3", {".MP3"}, "MP3", "Son MP3", "MP3 sound", "Scan_MP3", 15, 21,
     DetailsKind::Tune, mediafacts::readSoundFileFacts},
    {mtOGG, "OGG", ".OGG", {".OGG", ".OGA", ".OPUS"}, "OGG", "Son Ogg", "Ogg sound", "Scan_OGG", 16, 22,
     DetailsKind::Tune, mediafacts::readSoundFileFacts},
    {mtFLAC, "FLAC", ".FLAC", {".FLAC"}, "FLAC", "Son FLAC", "FLAC sound", "Scan_FLAC", 17, 23,
     DetailsKind::Tune, mediafacts::readSoundFileFacts},
    {mtMP4, "MP4", ".MP4", {".MP4", ".M4V", ".MOV"}, "MP4", "Vidéo MP4", "MP4 video", "Scan_MP4", 18, 24,
     DetailsKind::Clip, mediafacts::readClipFileFacts},
    {mtMKV, "MKV", ".MKV", {".MKV", ".WEBM"}, "MKV", "Vidéo Matroska", "Matroska video", "Scan_MKV", 19, 25,
     DetailsKind::Clip, mediafacts::readClipFileFacts},
};
// clang-format on
} // namespace

const MediaTypeInfo &mediaTypeInfo(MediaType t)
{
    return kTable[isMediaType(t) ? code(t) : 0];
}

MediaType typeAtTabOrder(int position)
{
    for (const MediaTypeInfo &row : kTable)
        if (row.tabOrder == position)
            return row.type;
    return mtNone;
}
