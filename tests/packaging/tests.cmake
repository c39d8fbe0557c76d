# Packaging: the desktop entry and the metainfo pass their validators and agree with the program,
# the MIME database and each other; the installed tree and the Debian package work from a
# temporary root.
add_test(NAME packaging_desktop_validate
         COMMAND sh ${dir}/validate.sh desktop-file-validate ${LUMA_PACKAGING_DIR}/lumavista.desktop)
add_test(NAME packaging_metainfo_validate
         COMMAND sh ${dir}/validate.sh appstreamcli validate --no-net
                 ${LUMA_PACKAGING_DIR}/${LUMA_APP_ID}.metainfo.xml)
set_tests_properties(packaging_desktop_validate packaging_metainfo_validate PROPERTIES SKIP_RETURN_CODE 77)

add_test(NAME packaging_contents
         COMMAND ${Python3_EXECUTABLE} ${dir}/check_contents.py --source ${PROJECT_SOURCE_DIR}
                 --built ${LUMA_PACKAGING_OUT} --version ${PROJECT_VERSION} --icon-sizes "${LUMA_ICON_SIZES}")

# Both run the installed programs; the package costs a strip and a compression of the programs.
add_test(NAME packaging_install
         COMMAND ${Python3_EXECUTABLE} ${dir}/check_installed.py --data ${PROJECT_SOURCE_DIR}/tests/data
                 --version ${PROJECT_VERSION} --cmake-install ${PROJECT_BINARY_DIR})
add_test(NAME packaging_deb
         COMMAND ${Python3_EXECUTABLE} ${dir}/check_installed.py --data ${PROJECT_SOURCE_DIR}/tests/data
                 --version ${PROJECT_VERSION} --cpack ${PROJECT_BINARY_DIR})
set_tests_properties(packaging_install packaging_deb PROPERTIES TIMEOUT 300 LABELS packaging)
