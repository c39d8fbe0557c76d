# What `cmake --install` puts under the prefix besides the programs and the help pages (whose
# rules are beside their targets): the desktop entry, the AppStream metainfo, the hicolor icons and
# the man pages. The artwork the program draws with is compiled in (src/resources), so nothing of
# it is installed for the program itself.
include(GNUInstallDirs)

set(LUMA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(LUMA_APP_ID io.github.lumavista.Lumavista)
set(LUMA_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)

install(FILES ${LUMA_PACKAGING_DIR}/lumavista.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LUMA_PACKAGING_DIR}/${LUMA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Icons: the program's own drawing, scalable as it is and rendered once per size menus ask for.
set(LUMA_ICON_SVG ${PROJECT_SOURCE_DIR}/src/resources/art/app/lumavista.svg)
set(LUMA_ICON_SIZES 16 22 24 32 48 64 128 256)
install(FILES ${LUMA_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
find_program(LUMA_RSVG_CONVERT rsvg-convert)
if(LUMA_RSVG_CONVERT)
  set(icons)
  foreach(size ${LUMA_ICON_SIZES})
    set(dir ${LUMA_PACKAGING_OUT}/icons/${size}x${size})
    add_custom_command(OUTPUT ${dir}/lumavista.png
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${LUMA_RSVG_CONVERT} --width=${size} --height=${size} --output=${dir}/lumavista.png
              ${LUMA_ICON_SVG}
      DEPENDS ${LUMA_ICON_SVG}
      COMMENT "Rendering the ${size} px icon"
      VERBATIM)
    list(APPEND icons ${dir}/lumavista.png)
    install(FILES ${dir}/lumavista.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(luma_icons ALL DEPENDS ${icons})
else()
  message(WARNING "rsvg-convert not found (scripts/install-deps installs librsvg2-bin): "
                  "the PNG icons are left out of the installation")
endif()

# Man pages carry the project's version; Debian wants them compressed.
find_program(LUMA_GZIP gzip REQUIRED)
set(pages)
foreach(page lumavista lumavista-info lumavista-convert lumavista-thumbnailer)
  configure_file(${LUMA_PACKAGING_DIR}/man/${page}.1.in ${LUMA_PACKAGING_OUT}/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${LUMA_PACKAGING_OUT}/man/${page}.1.gz
    COMMAND ${LUMA_GZIP} -9 -n -k -f ${LUMA_PACKAGING_OUT}/man/${page}.1
    DEPENDS ${LUMA_PACKAGING_OUT}/man/${page}.1
    VERBATIM)
  list(APPEND pages ${LUMA_PACKAGING_OUT}/man/${page}.1.gz)
endforeach()
add_custom_target(luma_man_pages ALL DEPENDS ${pages})
install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The licence and the history, where Debian looks for them: the copyright file in its
# machine-readable format and the changelog compressed.
# Named by hand: GNUInstallDirs would take the project's capitalised name.
set(LUMA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/lumavista)
install(FILES ${LUMA_PACKAGING_DIR}/copyright DESTINATION ${LUMA_DOC_DIR})
add_custom_command(OUTPUT ${LUMA_PACKAGING_OUT}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${LUMA_PACKAGING_DIR}/changelog ${LUMA_PACKAGING_OUT}/changelog
  COMMAND ${LUMA_GZIP} -9 -n -f ${LUMA_PACKAGING_OUT}/changelog
  DEPENDS ${LUMA_PACKAGING_DIR}/changelog
  VERBATIM)
add_custom_target(luma_changelog ALL DEPENDS ${LUMA_PACKAGING_OUT}/changelog.gz)
install(FILES ${LUMA_PACKAGING_OUT}/changelog.gz DESTINATION ${LUMA_DOC_DIR})

# Everything the installation takes, without the tests: what scripts/package builds.
add_custom_target(luma_install_parts)
add_dependencies(luma_install_parts lumavista lumavista-info lumavista-convert lumavista-thumbnailer lumavista_help luma_man_pages luma_changelog)
if(TARGET luma_icons)
  add_dependencies(luma_install_parts luma_icons)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/LumaPackage.cmake)
