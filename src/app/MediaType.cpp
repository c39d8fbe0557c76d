#include "app/MediaType.h"

namespace {
// Tabs: ALL first, then the types in alphabetical order of their codes.
const MediaTypeInfo kTable[kTypeCount] = {
    {mtALL, "ALL", "$$$", "$$$", "", "", "", 0, 5},
    {mtANI, "ANI", ".ANI", "ANI", "Curseur animé/image", "Animated cursor/image", "Scan_File_ANI", 1, 7},
    {mtAVI, "AVI", ".AVI", "AVI", "Clip video AVI", "Video clip AVI", "Scan_File_AVI", 2, 8},
    {mtBMP, "BMP", ".BMP", "BMP", "Image bitmap", "Bitmap image", "Scan_File_BMP", 3, 9},
    {mtJPG, "JPG", ".JPG", "JPG", "Image JPEG", "JPEG image", "Scan_File_JPG", 7, 10},
    {mtMID, "MID", ".MID", "MID", "Séquence MIDI", "MIDI sequence", "Scan_File_MID", 8, 11},
    {mtWAV, "WAV", ".WAV", "WAV", "Fichier WAV", "WAV file", "Scan_File_WAV", 11, 12},
    {mtGIF, "GIF", ".GIF", "GIF", "Fichier image GIF", "GIF image file", "Scan_File_GIF", 5, 13},
    {mtPCX, "PCX", ".PCX", "PCX", "Image ZSoft Paintbrush", "ZSoft Paintbrush image", "Scan_File_PCX", 9, 14},
    {mtTIF, "TIF", ".TIF", "TIF", "Image 'Tagged Image Format'", "Tagged Image File Format", "Scan_File_TIF",
     10, 15},
    {mtWMF, "WMF", ".WMF", "WMF", "Windows Metafile", "Windows Metafile", "Scan_File_WMF", 12, 16},
    {mtEMF, "EMF", ".EMF", "EMF", "Windows Metafile", "Windows Metafile", "Scan_File_EMF", 4, 17},
    {mtICO, "ICO", ".ICO", "ICO", "Icône Windows", "Windows Icon", "Scan_File_ICO", 6, 18},
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
