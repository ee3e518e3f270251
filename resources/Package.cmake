# The Debian package, made by CPack's DEB generator from the install rules
# (scripts/package.sh; the package test checks what it holds).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kelvora Project")
set(CPACK_PACKAGE_CONTACT "Kelvora Project <${KELVORA_SUPPORT_MAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese desktop clock with an hourly time signal")
set(CPACK_PACKAGE_DESCRIPTION "Kelvora shows the date and the time in a small borderless window with two
rows, each in a format of its own, keeps to a corner of a screen edge and
can sound a time signal at every full hour: a melody written in MML or a
WAVE file. Its texts are Japanese; its help is a Japanese user guide shown
by Quillet, its HTML viewer component, which the package registers for
every user of the machine.")
# Installed under /usr, staged through DESTDIR, so the install rules see
# the final prefix (the machine-wide component registration names it).
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://kelvora.example/")
# Dependencies from the built files; the program's own libraries sit in
# its private folder.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/clock)
# Opened by its name when a sound file is first decoded, not linked: the
# scan above cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsndfile1")
# What is loaded at run time rather than linked: the Japanese font the
# program's documents name, Qt's own dialogs in Japanese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
