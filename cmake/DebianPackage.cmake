# The Debian package (-DLW_PACKAGE=ON; scripts/package builds it with cpack): besides the hack and
# its description it installs the program on the PATH, the command that turns it on in
# XScreenSaver, man pages, the desktop entries with the icon, and Debian's copyright, changelog
# and README. Paths are Debian's own, as the package is only for Debian and its kin.
set(LW_DEB_VERSION "${PROJECT_VERSION}-1")
# The install (and so cpack) would otherwise build every program of the tree first, the soak and
# benchmark runners included; scripts/package builds the two targets the package needs.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(LW_MAINTAINER "Lumenwaltz developers <lumenwaltz@users.invalid>" CACHE STRING "The package's maintainer, as Debian writes one")
set(LW_STAGE ${CMAKE_BINARY_DIR}/package)
set(LW_DOC_DIR /usr/share/doc/lumenwaltz)

# Debian wants man pages and changelogs compressed at the best level, with no name or time in the
# gzip header.
function(lw_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${source} ${output}
    DEPENDS ${source} VERBATIM)
endfunction()

# The changelog's one entry is dated at the commit (SOURCE_DATE_EPOCH, which string(TIMESTAMP)
# reads), so that the same commit gives the same package.
string(TIMESTAMP LW_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/changelog.in ${LW_STAGE}/changelog.Debian @ONLY)
lw_gzip(${LW_STAGE}/changelog.Debian ${LW_STAGE}/changelog.Debian.gz)
set(LW_MAN_PAGES lumenwaltz.6 lumenwaltz-xscreensaver-enable.1)
set(LW_PACKAGE_FILES ${LW_STAGE}/changelog.Debian.gz)
foreach(page ${LW_MAN_PAGES})
  lw_gzip(${CMAKE_SOURCE_DIR}/packaging/man/${page} ${LW_STAGE}/${page}.gz)
  list(APPEND LW_PACKAGE_FILES ${LW_STAGE}/${page}.gz)
  string(REGEX REPLACE ".*\\." "" section ${page})
  install(FILES ${LW_STAGE}/${page}.gz DESTINATION /usr/share/man/man${section})
endforeach()

# The icon of the menu entry, at each size the program's own icon holds.
find_program(LW_ICOTOOL icotool REQUIRED)
foreach(size 16 32 48)
  set(png ${LW_STAGE}/icon-${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${LW_ICOTOOL} --extract --width=${size} --bit-depth=32 --output=${png} ${CMAKE_SOURCE_DIR}/resources/ICON_MAIN.ico
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/ICON_MAIN.ico VERBATIM)
  list(APPEND LW_PACKAGE_FILES ${png})
  install(FILES ${png} DESTINATION /usr/share/icons/hicolor/${size}x${size}/apps RENAME lumenwaltz.png)
endforeach()
add_custom_target(lw_package_files ALL DEPENDS ${LW_PACKAGE_FILES})

file(CREATE_LINK ../libexec/xscreensaver/lumenwaltz ${LW_STAGE}/lumenwaltz SYMBOLIC)
install(FILES ${LW_STAGE}/lumenwaltz DESTINATION /usr/bin)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/xscreensaver/lumenwaltz-xscreensaver-enable DESTINATION /usr/bin)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/desktop/lumenwaltz.desktop DESTINATION /usr/share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/desktop/lumenwaltz-screensaver.desktop
        DESTINATION /usr/share/applications/screensavers RENAME lumenwaltz.desktop)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/copyright ${CMAKE_SOURCE_DIR}/packaging/debian/README.Debian
              ${LW_STAGE}/changelog.Debian.gz DESTINATION ${LW_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/lintian-overrides DESTINATION /usr/share/lintian/overrides
        RENAME lumenwaltz)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumenwaltz)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LW_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xscreensaver)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screensaver of particles drawn as glowing sprites")
set(CPACK_PACKAGE_DESCRIPTION "8500 particles strung on a ring of springs, kept apart by repulsive
links and pulled to the centre, swirl in front of a slowly turning camera.
Every particle is projected, depth-sorted and drawn as a glowing sprite by
the program's own software rasterizer, 30 frames per second, full screen.

It runs on its own from the desktop's menu, or as a hack of XScreenSaver:
lumenwaltz-xscreensaver-enable adds it to a user's list of hacks.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The folders' modes are set here rather than left to the umask, and CPack dates every file at
# SOURCE_DATE_EPOCH: the same commit gives the same package.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
include(CPack)
