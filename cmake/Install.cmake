# What `cmake --install build --prefix P` puts under P: the two programs, the
# manual pages and, with the desktop program, its desktop entry, the file
# types it opens and its icon, at the places a Linux desktop looks for them.
include(GNUInstallDirs)
# Folders readable by all whatever the umask of the one who installs.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS torzalen-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages with the project's version, compressed as the distributions
# ship them (-n: no name or time stamp in the archive, so the same page gives
# the same file).
find_program(TZ_GZIP gzip REQUIRED)
set(tz_man_pages torzalen-cli.1)
if(TORZALEN_GUI)
  list(APPEND tz_man_pages torzalen.1)
endif()
foreach(page ${tz_man_pages})
  set(page_in ${CMAKE_BINARY_DIR}/man/in/${page})
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.gz)
  configure_file(man/${page} ${page_in} @ONLY)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E copy ${page_in} ${CMAKE_BINARY_DIR}/man/${page}
    COMMAND ${TZ_GZIP} -9 -n -f ${CMAKE_BINARY_DIR}/man/${page}
    DEPENDS ${page_in}
    VERBATIM)
  list(APPEND tz_man_gz ${gz})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${tz_man_gz})
install(FILES ${tz_man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TORZALEN_GUI)
  install(TARGETS torzalen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES data/torzalen.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/torzalen-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME torzalen.xml)

  # The icon files are painted at build time by the drawing of the window icon.
  add_subdirectory(tools/appicon)
  set(tz_icon_sizes 16 22 24 32 48 64 128 256)
  set(tz_icon_root ${CMAKE_BINARY_DIR}/icons/hicolor)
  set(tz_icon_files)
  foreach(size ${tz_icon_sizes})
    list(APPEND tz_icon_files ${tz_icon_root}/${size}x${size}/apps/torzalen.png)
  endforeach()
  add_custom_command(OUTPUT ${tz_icon_files}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:appicon> ${tz_icon_root} ${tz_icon_sizes}
    DEPENDS appicon
    COMMENT "Painting the icon files"
    VERBATIM)
  add_custom_target(app_icons ALL DEPENDS ${tz_icon_files})
  foreach(size ${tz_icon_sizes})
    install(FILES ${tz_icon_root}/${size}x${size}/apps/torzalen.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()
