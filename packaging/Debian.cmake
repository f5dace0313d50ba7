# The Debian package that scripts/package makes with 'cpack -G DEB'. Included from the top
# CMakeLists.txt, since CPack reads its settings from the top of the build tree.

set(CPACK_PACKAGE_NAME karvelo)
set(CPACK_PACKAGE_VENDOR "Karvelo")
# All four parts: CPack would otherwise drop the last one.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Karvelo developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for GUI screen layouts")
set(CPACK_PACKAGE_DESCRIPTION
    "Karvelo edits GUI screen layouts: ordered lists of rectangular controls on an 800 by 600
screen, saved as .lay files. The package holds the editor, karvelo, and the command-line tool
laytool, which prints layouts as JSON and back, draws them, compares two layouts and checks
layouts for problems.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are what the binaries link, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# karvelo_1.0.0.1_amd64.deb
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# No maintainer scripts: the files lie where the triggers of shared-mime-info,
# desktop-file-utils and hicolor-icon-theme look, and those update their databases.

set(CPACK_GENERATOR DEB)
include(CPack)
