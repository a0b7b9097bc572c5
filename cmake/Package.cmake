# SPDX-FileCopyrightText: 2026 Plinkbox developers
# SPDX-License-Identifier: GPL-3.0-or-later
# A Debian package: cpack -G DEB in the build directory. The libraries it links are found by
# dpkg-shlibdeps; what it only loads at run time is named here.
set(PLINKBOX_MAINTAINER "The Plinkbox developers <plinkbox@users.noreply.github.com>")

# The documents a Debian package carries: copyright, changelog (a native package's, since the
# project is its own packager) and manual page, compressed without a time stamp so that the same
# commit builds the same package.
set(changelog_date "${PLINKBOX_COMMIT_DATE}")
if(NOT changelog_date)
  string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()
set(doc_dir ${CMAKE_BINARY_DIR}/doc)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${doc_dir}/changelog @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/plinkbox.1 ${doc_dir}/plinkbox.1 COPYONLY)
set(compressed)
foreach(name changelog plinkbox.1)
  add_custom_command(OUTPUT ${doc_dir}/${name}.gz
    COMMAND gzip -9nkf ${doc_dir}/${name}
    DEPENDS ${doc_dir}/${name} VERBATIM)
  list(APPEND compressed ${doc_dir}/${name}.gz)
endforeach()
add_custom_target(plinkbox_docs ALL DEPENDS ${compressed})
include(GNUInstallDirs)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${doc_dir}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/plinkbox)
install(FILES ${doc_dir}/plinkbox.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME plinkbox)
set(CPACK_PACKAGE_VERSION ${PLINKBOX_FULL_VERSION})
set(CPACK_PACKAGE_VENDOR "The Plinkbox developers")
set(CPACK_PACKAGE_CONTACT ${PLINKBOX_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audition short sound files as the mouse passes over them")
# At most 79 characters a line.
set(CPACK_PACKAGE_DESCRIPTION
  "Plinkbox keeps a list of short sound files (WAV, MIDI, MP3 and more) and plays
each one the moment the mouse passes over its row. Around the list it deletes,
moves, copies and renames files, renames many by rule, and gathers sound files
from deep directory trees into folders. Its interface is Chinese.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY plinkbox)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/plinkbox/plinkbox")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The display plug-ins of Qt, the General MIDI sound font, and a font with the Chinese
# characters of the interface (the lightest first).
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, timgm6mb-soundfont, fonts-wqy-microhei | fonts-noto-cjk | fonts-wqy-zenhei")
# Qt's own texts (dialog buttons) in Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
