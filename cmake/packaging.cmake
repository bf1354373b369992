# Installing the Linux program and packing it as a .deb (cpack -G DEB).

include(GNUInstallDirs)

install(TARGETS morvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/linux/morvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/qt/res/morvane.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
# The same picture, enlarged pixel for pixel, for launchers that show more.
foreach(size 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/linux/icons/${size}x${size}/morvane.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# The guide with the pictures it shows, the notices and the changes.
install(FILES ${PROJECT_SOURCE_DIR}/docs/使用说明.md ${PROJECT_SOURCE_DIR}/docs/screenshot.png
              ${PROJECT_SOURCE_DIR}/docs/screenshot-linux.png ${PROJECT_SOURCE_DIR}/NOTICE
              ${PROJECT_SOURCE_DIR}/CHANGELOG.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/morvane)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/morvane RENAME copyright)
# The guide as a web page too, beside the pictures it shows; it needs
# Python-Markdown (python3-markdown), without which the .deb has the
# Markdown alone.
execute_process(COMMAND /usr/bin/python3 -c "import markdown" RESULT_VARIABLE markdown_missing
                OUTPUT_QUIET ERROR_QUIET)
if(markdown_missing)
  message(STATUS "Python-Markdown is missing: the .deb goes without the guide as a web page")
else()
  set(guide_html ${PROJECT_BINARY_DIR}/使用说明.html)
  add_custom_command(OUTPUT ${guide_html}
    COMMAND ${PROJECT_SOURCE_DIR}/packaging/guide_html.sh ${PROJECT_SOURCE_DIR}/docs/使用说明.md ${guide_html}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/使用说明.md ${PROJECT_SOURCE_DIR}/packaging/guide_html.sh)
  add_custom_target(morvane_guide_html ALL DEPENDS ${guide_html})
  install(FILES ${guide_html} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/morvane)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VENDOR "The Morvane authors")
set(CPACK_PACKAGE_CONTACT "The Morvane authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Mark and repeat passages in any MPRIS media player")
set(CPACK_PACKAGE_DESCRIPTION
    "Morvane drives the media player that is already running (mpv, VLC, Audacious\n and any other MPRIS player) and keeps a list of time marks with notes, so\n that a language learner or a transcriber can jump back to a phrase, repeat\n from a mark, step two seconds back or forward, and keep the marks in a text\n file. Its interface is in Chinese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# The libraries it links are found by dpkg-shlibdeps; Qt's X11 platform
# plugin, Qt's Chinese words and the Chinese font are loaded at run time, so
# they are named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-wqy-microhei")
# In a Wayland session Qt's Wayland plugin gives the window its own surface;
# without it the window runs on XWayland, which works too.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "mpv, mpv-mpris, vlc, audacious")
include(CPack)
