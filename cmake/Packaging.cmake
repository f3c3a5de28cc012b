# Installs Tourlog as a desktop program and packs it as a Debian package (cpack -G DEB).
include(GNUInstallDirs)

set(TOURLOG_HOMEPAGE "https://tourlog.example.org" CACHE STRING "Home page named in the package and the metainfo")
set(TOURLOG_SCREENSHOT_URL "${TOURLOG_HOMEPAGE}/window.png" CACHE STRING "Screenshot named in the metainfo")
set(TOURLOG_MAINTAINER "Tourlog developers <tourlog@example.org>" CACHE STRING "Maintainer of the Debian package")

set(data_dir ${PROJECT_SOURCE_DIR}/data)
set(generated_dir ${PROJECT_BINARY_DIR}/data)
configure_file(${data_dir}/org.tourlog.Tourlog.metainfo.xml.in ${generated_dir}/org.tourlog.Tourlog.metainfo.xml @ONLY)
configure_file(${data_dir}/changelog.Debian.in ${generated_dir}/changelog.Debian @ONLY)

# Debian wants the manual page and the changelog compressed, without a time stamp in the header.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
foreach(name tourlog.1 changelog.Debian)
    if(name STREQUAL "tourlog.1")
        set(source ${data_dir}/${name})
    else()
        set(source ${generated_dir}/${name})
    endif()
    add_custom_command(OUTPUT ${generated_dir}/${name}.gz
        COMMAND ${GZIP_EXECUTABLE} -9nc ${source} > ${generated_dir}/${name}.gz
        DEPENDS ${source}
        VERBATIM)
    list(APPEND compressed ${generated_dir}/${name}.gz)
endforeach()
add_custom_target(tourlog_data ALL DEPENDS ${compressed})

install(TARGETS tourlog RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${data_dir}/org.tourlog.Tourlog.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${data_dir}/tourlog.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
    install(FILES ${data_dir}/tourlog-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tourlog.png)
endforeach()
install(FILES ${generated_dir}/org.tourlog.Tourlog.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${generated_dir}/tourlog.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${data_dir}/copyright ${generated_dir}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tourlog)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tourlog)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tourlog developers")
set(CPACK_PACKAGE_CONTACT ${TOURLOG_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${TOURLOG_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "contest logger for 80 m and 160 m worked in timed tours")
set(CPACK_PACKAGE_DESCRIPTION
    "Tourlog logs the contacts of one operator during an amateur-radio contest\n\
worked on 80 m and 160 m, SSB and CW, in tours of a fixed number of minutes.\n\
The contest table, the journal, the score and the report file follow every\n\
contact and every correction; the serial number survives a crash.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TOURLOG_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its platform plugins at run time, and the window's sizes were drawn for a condensed face: the
# linker sees neither
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-extra")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
