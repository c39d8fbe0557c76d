# The Debian package (`cpack -G DEB`, run by scripts/package): what `cmake --install` puts in place,
# under /usr, with the library dependencies dpkg-shlibdeps finds in the programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumavista)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Lumavista developers")
set(CPACK_PACKAGE_CONTACT "The Lumavista developers <lumavista@example.org>" CACHE STRING
    "Maintainer of the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "multimedia browser for twelve classic media types")
# Wrapped by hand: CPack keeps the lines as they are.
set(CPACK_PACKAGE_DESCRIPTION "\
Lumavista searches the drives, or one folder, for media files of twelve classic
types: animated cursors (ANI), videos (AVI), pictures (BMP, JPEG, GIF, PCX,
TIFF), vector drawings (WMF, EMF), icons (ICO), tunes (MIDI) and sounds (WAV).
Each type has its own tab with a tree of the folders that hold such files and
the list of the files beside it; the selected file is shown or played in the
viewer pane. The interface is in French.

The package also holds lumavista-info, which describes media files on the
command line, lumavista-convert, which converts them to today's formats, and
lumavista-thumbnailer, which draws their thumbnails for the desktop's file
managers.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# MIDI files play through a General MIDI soundfont the program looks for in /usr/share/sounds
# (platform/media/SequencerDriver.cpp): every Debian package that provides sf2-soundfont-gm
# registers its font there as default-GM.
# lumavista-convert writes WebP through Qt's WebP plugin, which Qt loads at run time: no library
# link shows that need to dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fluid-soundfont-gm | sf2-soundfont-gm, qt6-image-formats-plugins")
# Links in the About window open through the desktop; Qt's own dialogs (save, folder browser) take
# their French texts from Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
include(CPack)
