# The Debian package: `cpack -G DEB` in a build folder (scripts/build-deb.sh does it all) packs
# what `cmake --install` installs under /usr. dpkg-shlibdeps finds the libraries the programs
# need; the Qt platform plugins are loaded at run time, so no library names them and they are
# listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mozu)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Mozu developers")
set(CPACK_PACKAGE_CONTACT "The Mozu developers <mozu@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "picture and video converter for the Amstrad CPC and SymbOS")
# The long description, lines under 80 columns as Debian wants them.
set(CPACK_PACKAGE_DESCRIPTION
    "Mozu converts BMP and JPEG pictures to CPC screen files of modes 0, 1 and 2
that show themselves when run on a CPC, to overscan and level pictures and to
SymbOS graphics, and PC videos to SymbOS videos, with dithering to the CPC's
27 colours. It reads its files back and previews them. The package holds the
desktop application mozu, the command-line tool mozu-cli, and a thumbnailer
that shows CPC and SymbOS files in file managers.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(MOZU_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
include(CPack)
