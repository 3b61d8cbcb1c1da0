# SPDX-License-Identifier: GPL-3.0-or-later
# Installing beyond the program and its data, and the Debian package (cmake --build <dir> --target package).
# Included last, so that it sees every target defined before it.

# Man pages, gzipped as Debian ships them.
set(vb_man_pages verbanta)
if(TARGET verbanta-freq)
    list(APPEND vb_man_pages verbanta-freq)
endif()
if(TARGET verbanta-convert)
    list(APPEND vb_man_pages verbanta-convert)
endif()
set(vb_man_outputs)
foreach(page IN LISTS vb_man_pages)
    set(out ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${out}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                       COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/man/${page}.1 ${CMAKE_BINARY_DIR}/man/${page}.1
                       COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/man/${page}.1
                       DEPENDS ${CMAKE_SOURCE_DIR}/data/man/${page}.1)
    list(APPEND vb_man_outputs ${out})
endforeach()
add_custom_target(vb_man ALL DEPENDS ${vb_man_outputs})
install(FILES ${vb_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET verbanta-freq)
    install(TARGETS verbanta-freq RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET verbanta-convert)
    install(TARGETS verbanta-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES data/io.github.verbanta.Verbanta.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The licence terms and the history of changes, where Debian looks for them: the machine-readable copyright
# file, and the NEWS file gzipped as changelog.gz (the package is native, so it has no separate Debian log).
set(vb_changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${vb_changelog}
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
                   COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/NEWS > ${vb_changelog}
                   DEPENDS ${CMAKE_SOURCE_DIR}/NEWS)
add_custom_target(vb_changelog ALL DEPENDS ${vb_changelog})
install(FILES data/doc/copyright ${vb_changelog} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/verbanta)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME verbanta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Verbanta developers")
set(CPACK_PACKAGE_CONTACT "The Verbanta developers <verbanta@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "trainer for memorising foreign words")
# The long description; CPack puts the summary in front of it.
set(CPACK_PACKAGE_DESCRIPTION
    "Verbanta drills a small working set of the words of a dictionary by three
methods: pick the answer among up to seven, match two lists of words and
translations, or type the answer. Scores per word and method decide when a
word is learned; progress is kept per pupil and dictionary. Between exercises
the window hides to the tray and floating word cards show the words. Words are
pronounced from sound files or by a speech synthesiser. The user interface is
in Russian.")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://verbanta.example.org/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Speech needs one of Qt's engine plug-ins, and the standard dialogs speak Russian with Qt's translations;
# the program runs without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-speech-flite-plugin, qt6-speech-speechd-plugin, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
