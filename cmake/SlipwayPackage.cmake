# The Debian package (`make package`): everything `cmake --install` puts in place, under /usr.
# Dependencies on libraries come from the shared libraries the programs and the image-format
# plugin link (dpkg-shlibdeps); what no binary links by name is listed here.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME slipway)
set(CPACK_PACKAGE_VENDOR "Slipway")
set(CPACK_PACKAGE_CONTACT "Slipway developers <slipway@invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "tools for the art assets of a 3D ship simulation")
set(CPACK_PACKAGE_DESCRIPTION "\
Shipview and Meshview view and edit ship and part models (CLF and CFF files) and whole ships
described by DEF files. Pixmill converts TGA pictures into TF textures and back. Riglist edits
DEF ship descriptions. Bytespin scrambles files in place. With desktop entries, MIME types, a
thumbnailer and a Qt image-format plugin for TF textures.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its window-system plugins at run time, so no binary names them; without them no
# window opens.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")

include(CPack)
