#include "app/MediaType.h"

namespace {
// Tabs: ALL first, then the types in alphabetical order of their codes.
const MediaTypeInfo kTable[kTypeCount] = {
    {mtALL, "ALL", "$$$", "$$$", "", "", "", 0, 5, DetailsKind::None, nullptr},
    {mtANI, "ANI", ".ANI", "ANI", "Curseur animé/image", "Animated cursor/image", "Scan_File_ANI", 1, 7,
     DetailsKind::Cursor, mediafacts::readSizeFileFacts},
    {mtAVI, "AVI", ".AVI", "AVI", "Clip video AVI", "Video clip AVI", "Scan_File_AVI", 2, 8,
     DetailsKind::Clip, mediafacts::readClipFileFacts},
    {mtBMP, "BMP", ".BMP", "BMP", "Image bitmap", "Bitmap image", "Scan_File_BMP", 3, 9, DetailsKind::Picture,
     mediafacts::readPictureFileFacts},
    {mtJPG, "JPG", ".JPG", "JPG", "Image JPEG", "JPEG image", "Scan_File_JPG", 7, 10, DetailsKind::Jpeg,
     mediafacts::readJpegFileFacts},
    {mtMID, "MID", ".MID", "MID", "Séquence MIDI", "MIDI sequence", "Scan_File_MID", 8, 11, DetailsKind::Tune,
     mediafacts::readSoundFileFacts},
    {mtWAV, "WAV", ".WAV", "WAV", "Fichier WAV", "WAV file", "Scan_File_WAV", 11, 12, DetailsKind::Tune,
     mediafacts::readSoundFileFacts},
    {mtGIF, "GIF", ".GIF", "GIF", "Fichier image GIF", "GIF image file", "Scan_File_GIF", 5, 13,
     DetailsKind::Gif, mediafacts::readGifFileFacts},
    {mtPCX, "PCX", ".PCX", "PCX", "Image ZSoft Paintbrush", "ZSoft Paintbrush image", "Scan_File_PCX", 9, 14,
     DetailsKind::Picture, mediafacts::readPictureFileFacts},
    {mtTIF, "TIF", ".TIF", "TIF", "Image 'Tagged Image Format'", "Tagged Image File Format", "Scan_File_TIF",
     10, 15, DetailsKind::Picture, mediafacts::readPictureFileFacts},
    {mtWMF, "WMF", ".WMF", "WMF", "Windows Metafile", "Windows Metafile", "Scan_File_WMF", 12, 16,
     DetailsKind::Picture, mediafacts::readPictureFileFacts},
    {mtEMF, "EMF", ".EMF", "EMF", "Windows Metafile", "Windows Metafile", "Scan_File_EMF", 4, 17,
     DetailsKind::Picture, mediafacts::readPictureFileFacts},
    {mtICO, "ICO", ".ICO", "ICO", "Icône Windows", "Windows Icon", "Scan_File_ICO", 6, 18, DetailsKind::Icon,
     mediafacts::readSizeFileFacts},
};
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
